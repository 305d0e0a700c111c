#include "platform/data/DBClient.h"

namespace nv {

std::vector<const TClassInfo*> DataClasses() {
  return {
      &TField::StaticClassInfo(),
      &TStringField::StaticClassInfo(),
      &TIntegerField::StaticClassInfo(),
      &TFloatField::StaticClassInfo(),
      &TDateTimeField::StaticClassInfo(),
      &TMemoField::StaticClassInfo(),
      &TBooleanField::StaticClassInfo(),
      &TIndexDef::StaticClassInfo(),
      &TIndexDefs::StaticClassInfo(),
      &TDataSet::StaticClassInfo(),
      &TClientDataSet::StaticClassInfo(),
      &TwwClientDataSet::StaticClassInfo(),
      &TDataSource::StaticClassInfo(),
      &TSimpleObjectBroker::StaticClassInfo(),
      &TSocketConnection::StaticClassInfo(),
  };
}

void RegisterDataClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterStandardClasses();
  for (const TClassInfo* info : DataClasses())
    if (!GetClass(info->ClassName())) RegisterClass(*info);
}

}  // namespace nv

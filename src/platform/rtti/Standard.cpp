#include "platform/rtti/Classes.h"
#include "platform/rtti/Collection.h"
#include "platform/rtti/Font.h"
#include "platform/rtti/StringList.h"

namespace nv {

std::vector<const TClassInfo*> StandardClasses() {
  return {&TObject::StaticClassInfo(),         &TPersistent::StaticClassInfo(),
          &TComponent::StaticClassInfo(),      &TStrings::StaticClassInfo(),
          &TStringList::StaticClassInfo(),     &TCollection::StaticClassInfo(),
          &TCollectionItem::StaticClassInfo(), &TFont::StaticClassInfo()};
}

void RegisterStandardClasses() {
  for (const TClassInfo* info : StandardClasses()) RegisterClass(*info);
}

}  // namespace nv

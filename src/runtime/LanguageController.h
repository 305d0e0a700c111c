#pragma once
// LanguageController: the component on every form that opens the form's language pack and
// relabels the form and everything it owns from it. Each element named after a component
// carries assignments for that component: an attribute's name is a property path (Caption,
// Font.Name, Items_2, Columns_1.Caption), its value the text.
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/rtti/StringList.h"
#include "runtime/LangCommon.h"

namespace nv {

NV_DECLARE_EXCEPTION(LanguageControllerError, Exception);

NV_EVENT_TYPE(TLoadComponentEvent, TComponent* /*Component*/, TXmlNode /*Node*/);

// Replaces the default application of one attribute when set.
using TApplyAttributeHandler =
    std::function<void(TComponent& component, const std::string& name, const std::string& value)>;

// Reads one element's attributes onto one component.
class ILangRead {
 public:
  virtual ~ILangRead() = default;
  virtual void ReadAttributes(const TApplyAttributeHandler& handler) = 0;
};

class TComponentRead : public ILangRead {
 public:
  TComponentRead(TComponent& component, TXmlNode node) : component_(component), node_(node) {}
  void ReadAttributes(const TApplyAttributeHandler& handler) override;

 protected:
  TComponent& component_;
  TXmlNode node_;
};

// Combo boxes keep their selected item across reading (new Items would lose it).
class TCustomComboBoxRead : public TComponentRead {
 public:
  using TComponentRead::TComponentRead;
  void ReadAttributes(const TApplyAttributeHandler& handler) override;
};
class TwwDBCustomComboBoxRead : public TCustomComboBoxRead {
 public:
  using TCustomComboBoxRead::TCustomComboBoxRead;
};

class TReaderFactory {
 public:
  static std::unique_ptr<ILangRead> CreateReader(TComponent& component, TXmlNode node);
};

// Applies one attribute (property path, value) to a component. Paths that cannot be
// followed, and values that do not fit, are skipped.
void ApplyLangAttribute(TComponent& component, std::string_view name, const std::string& value);

class TLangReader {
 public:
  TLangReader(const TXmlDocument& document, const TStrings& excludeControls,
              TLoadComponentEvent beforeLoad, TLoadComponentEvent afterLoad);

  // The pack onto the component and, in order, everything it owns.
  void ReadComponent(TComponent& component);
  TApplyAttributeHandler OnApplyAttribute;

 private:
  void ReadNode(TComponent& component, TXmlNode node);
  bool Excluded(const std::string& name) const;

  const TXmlDocument& document_;
  const TStrings& excludeControls_;
  TLoadComponentEvent beforeLoad_;
  TLoadComponentEvent afterLoad_;
};

class TLanguageController : public TComponent {
  NV_CLASS(TLanguageController, TComponent)
 public:
  explicit TLanguageController(TComponent* owner);
  ~TLanguageController() override;

  bool Active() const;
  void SetActive(bool active);
  const std::string& LangPackageName() const { return langPackageName_; }
  void SetLangPackageName(const std::string& name);
  TDesignType DesignType() const { return designType_; }
  void SetDesignType(TDesignType type) { designType_ = type; }
  TStringList* ExcludeControls() const { return excludeControls_.get(); }
  void SetExcludeControls(TStringList* list);
  // The pack file: language folder + package name + ".Lng".
  const std::string& FileName() const { return fileName_; }
  // Tests and tools may name a pack file directly.
  void SetFileName(const std::string& fileName);

  // Raises LanguageControllerError "No active LanguageController!" when closed.
  TLangReader& GetLangReader();

  void Loaded() override;

  TNotifyEvent BeforeOpen, AfterOpen, BeforeClose, AfterClose;
  TLoadComponentEvent BeforeLoadComponent, AfterLoadComponent;

 private:
  void Open();
  void Close();

  std::string langPackageName_;
  std::string fileName_;
  TDesignType designType_ = dtClient;
  std::unique_ptr<TStringList> excludeControls_;
  std::unique_ptr<TXmlDocument> document_;
  std::unique_ptr<TLangReader> reader_;
  bool pendingActive_ = false;
};

// The published face of the controller, as forms carry it.
class TNvLangController : public TLanguageController {
  NV_CLASS(TNvLangController, TLanguageController)
 public:
  using TLanguageController::TLanguageController;
};

}  // namespace nv

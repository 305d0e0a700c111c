#pragma once
// The persistent object model: TObject (class info), TPersistent (assignment, extra stored
// data), TComponent (name, owner, owned components, state, notifications).
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtti/FormValue.h"
#include "platform/rtti/TypInfo.h"

namespace nv {

NV_DECLARE_EXCEPTION(EComponentError, Exception);  // bad or duplicate names, unknown components
NV_DECLARE_EXCEPTION(EListError, Exception);       // list index out of bounds, duplicates

NV_EVENT_TYPE(TNotifyEvent, TObject* /*Sender*/);

// Identity objects: not copyable, not movable; compared by address.
class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;

  static const TClassInfo& StaticClassInfo();
  virtual const TClassInfo& ClassInfo() const { return StaticClassInfo(); }
  const std::string& ClassName() const;
  bool InheritsFrom(const TClassInfo& info) const;
  bool InheritsFrom(std::string_view className) const;
  // Called once the whole object exists when it is created through a class info or
  // nv::Create; a form reads the texts of its class chain here.
  virtual void AfterConstruction() {}
};

// Creates an object and lets it finish its construction (see AfterConstruction).
template <class T, class... A>
T* Create(A&&... args) {
  T* object = new T(std::forward<A>(args)...);
  try {
    object->AfterConstruction();
  } catch (...) {
    delete object;
    throw;
  }
  return object;
}

// The form-text filer as a persistent sees it while defining its extra stored data.
class TFiler {
 public:
  using TReadProc = std::function<void(const TFormValue&)>;
  using TWriteProc = std::function<TFormValue()>;
  virtual ~TFiler() = default;
  // hasData: whether the writer must write the value (it differs from the ancestor's).
  virtual void DefineProperty(const std::string& name, TReadProc read, TWriteProc write,
                              bool hasData) = 0;
  // The same object in the ancestor when writing differences; nullptr otherwise.
  const TPersistent* Ancestor() const { return ancestor_; }

 protected:
  const TPersistent* ancestor_ = nullptr;
};

class TPersistent : public TObject {
  NV_CLASS(TPersistent, TObject)
 public:
  TPersistent() = default;
  // Copies the source's state; raises EConvertError "Cannot assign a TX to a TY" when the
  // classes do not fit.
  virtual void Assign(const TPersistent& source);
  // Data stored beyond the published properties (a string list's lines, a picture).
  virtual void DefineProperties(TFiler& filer) {}

 protected:
  virtual void AssignTo(TPersistent& dest) const;
};

NV_ENUM(TComponentStateItem, csLoading, csReading, csWriting, csDestroying, csDesigning, csAncestor,
        csUpdating)
using TComponentState = TSet<TComponentStateItem>;
NV_ENUM(TOperation, opInsert, opRemove)

class TComponent : public TPersistent {
  NV_CLASS(TComponent, TPersistent)
 public:
  explicit TComponent(TComponent* owner);
  ~TComponent() override;

  const std::string& Name() const { return name_; }
  // A valid identifier, unique among the owner's components (letter case ignored), or empty.
  virtual void SetName(const std::string& name);
  int Tag() const { return tag_; }
  void SetTag(int tag) { tag_ = tag; }
  TComponent* Owner() const { return owner_; }

  // Owned components in creation order.
  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TComponent* Components(int index) const;  // raises EListError when out of range
  const std::vector<TComponent*>& Components() const { return components_; }
  int ComponentIndex() const;
  TComponent* FindComponent(std::string_view name) const;    // nullptr when none
  TComponent& ComponentByName(std::string_view name) const;  // raises EComponentError
  // Takes over ownership (a component has one owner at a time).
  void InsertComponent(TComponent* component);
  void RemoveComponent(TComponent* component);
  // Frees the owned components, the last created first. A class whose owned components
  // still refer to it while they go (controls and their parent) calls this first thing in
  // its destructor.
  void DestroyComponents();

  TComponentState ComponentState() const { return state_; }
  // The designing state, for this component and everything it owns.
  void SetDesigning(bool designing, bool owned = true);
  // Loading: set while a form text is read onto the component, cleared before Loaded.
  void SetLoading(bool loading);
  // Marks the component and everything it owns as going away.
  void Destroying();

  // Asks to be told (Notification opRemove) when the other component goes, also across
  // owners; both sides forget each other when either goes.
  void FreeNotification(TComponent* component);
  void RemoveFreeNotification(TComponent* component);
  // opInsert/opRemove for owned components; by default passed on to every owned component,
  // so that references between siblings are cleared.
  virtual void Notification(TComponent* component, TOperation operation);
  // After a form text was read: every loaded component, in reading order.
  virtual void Loaded();

  // The parent in the stored layout: nesting of "object" blocks. Controls override these;
  // plain components have none and sit directly under the root.
  virtual TComponent* GetParentComponent() const { return nullptr; }
  virtual void SetParentComponent(TComponent* parent) {}
  virtual bool HasParent() const { return false; }
  // The components written nested in this one's block when root is written: by default the
  // components root owns whose parent component is this one (for root itself: those without
  // a parent), in creation order.
  virtual void GetChildren(const std::function<void(TComponent&)>& proc,
                           const TComponent& root) const;

  // Design position of a non-visual component (stored as Left and Top).
  int DesignLeft() const { return designLeft_; }
  int DesignTop() const { return designTop_; }
  void SetDesignPosition(int left, int top) {
    designLeft_ = left;
    designTop_ = top;
  }
  void DefineProperties(TFiler& filer) override;

 private:
  void Insert(TComponent* component);
  void Remove(TComponent* component);
  void SetReference(bool enable);

  std::string name_;
  int tag_ = 0;
  TComponent* owner_ = nullptr;
  std::vector<TComponent*> components_;
  std::vector<TComponent*> freeNotifies_;
  TComponentState state_;
  int designLeft_ = 0;
  int designTop_ = 0;
};

bool IsValidIdent(std::string_view name);

// The persistent classes of this library (TComponent, TStringList, TFont, ...), for
// registering and for the class reference.
std::vector<const TClassInfo*> StandardClasses();
void RegisterStandardClasses();

}  // namespace nv

#pragma once
// Run-time type information of the component model: one table per class of published
// properties, published methods and published component fields, declared once beside the
// class. The form-text reader and writer, language packs and schemes work through these
// tables only, so they need no per-class code.
#include <any>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <typeindex>
#include <utility>
#include <vector>

#include "platform/core/SysUtils.h"

namespace nv {

class TObject;
class TPersistent;
class TComponent;
class TCollection;
class TCollectionItem;
class TClassInfo;

NV_DECLARE_EXCEPTION(EPropertyError, Exception);  // unknown property, wrong kind, bad value
NV_DECLARE_EXCEPTION(EClassNotFound, Exception);  // a class name the registry does not know
NV_DECLARE_EXCEPTION(EMethodError, Exception);    // unknown or incompatible published method

enum TTypeKind { tkInteger, tkChar, tkEnumeration, tkFloat, tkString, tkSet, tkClass, tkMethod };

// ---------------------------------------------------------------------------------------
// Names of enumerations and of integer types that carry idents (colours, character sets).

class TEnumInfo {
 public:
  // names: "sp_Range, sp_Discrete, sp_UserChoice" (the enumerators in order from 0).
  TEnumInfo(std::string typeName, std::string_view names);
  const std::string& TypeName() const { return typeName_; }
  int Count() const { return static_cast<int>(names_.size()); }
  // The empty text for a value out of range.
  const std::string& Name(std::int64_t value) const;
  // -1 when no enumerator has that name (letter case ignored).
  int Value(std::string_view name) const;

 private:
  std::string typeName_;
  std::vector<std::string> names_;
};

class TIdentMap {
 public:
  struct Entry {
    std::int64_t Value;
    const char* Ident;
  };
  TIdentMap(std::string typeName, std::initializer_list<Entry> entries);
  const std::string& TypeName() const { return typeName_; }
  std::optional<std::int64_t> ToValue(std::string_view ident) const;  // letter case ignored
  const char* ToIdent(std::int64_t value) const;                      // nullptr when none
  const std::vector<Entry>& Entries() const { return entries_; }

 private:
  std::string typeName_;
  std::vector<Entry> entries_;
};

const TEnumInfo& BooleanInfo();

// An enumeration with its names, usable as a published property type:
//   NV_ENUM(TSelectStyle, sp_Range, sp_Discrete, sp_UserChoice)
// Enumerators count from 0 without gaps (the names are read from the macro's text).
#define NV_ENUM(Type, ...)                                  \
  enum Type { __VA_ARGS__ };                                \
  inline const ::nv::TEnumInfo& NvEnumInfo(const Type*) {   \
    static const ::nv::TEnumInfo info(#Type, #__VA_ARGS__); \
    return info;                                            \
  }

// An integer type whose values may be written by name (TColor: clRed, $AFFFFF). Declares
// the type; the .cpp defines `const TIdentMap& NvIdentMap(const Type*)`.
#define NV_IDENT_TYPE(Type, Underlying) \
  enum Type : Underlying {};            \
  const ::nv::TIdentMap& NvIdentMap(const Type*)

template <class T>
concept HasEnumInfo = requires(const T* p) {
  { NvEnumInfo(p) } -> std::same_as<const TEnumInfo&>;
};
template <class T>
concept HasIdentMap = requires(const T* p) {
  { NvIdentMap(p) } -> std::same_as<const TIdentMap&>;
};

// ---------------------------------------------------------------------------------------
// Sets of up to 64 enumerators: TFontStyles = TSet<TFontStyle>.

template <class E>
class TSet {
 public:
  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<E> items) {
    for (E e : items) bits_ |= Bit(e);
  }
  static constexpr TSet FromBits(std::uint64_t bits) {
    TSet s;
    s.bits_ = bits;
    return s;
  }
  constexpr std::uint64_t Bits() const { return bits_; }
  constexpr bool Contains(E e) const { return (bits_ & Bit(e)) != 0; }
  constexpr bool Empty() const { return bits_ == 0; }
  constexpr TSet& Include(E e) {
    bits_ |= Bit(e);
    return *this;
  }
  constexpr TSet& Exclude(E e) {
    bits_ &= ~Bit(e);
    return *this;
  }
  friend constexpr TSet operator+(TSet a, TSet b) { return FromBits(a.bits_ | b.bits_); }
  friend constexpr TSet operator-(TSet a, TSet b) { return FromBits(a.bits_ & ~b.bits_); }
  friend constexpr TSet operator*(TSet a, TSet b) { return FromBits(a.bits_ & b.bits_); }
  friend constexpr bool operator==(TSet a, TSet b) = default;

 private:
  static constexpr std::uint64_t Bit(E e) { return std::uint64_t{1} << static_cast<int>(e); }
  std::uint64_t bits_ = 0;
};

template <class T>
struct IsSetType : std::false_type {};
template <class E>
struct IsSetType<TSet<E>> : std::true_type {
  using Element = E;
};

// ---------------------------------------------------------------------------------------
// Method values. A handler is a callable plus its identity (the object that holds it and
// the published method name), so a handler can be saved, replaced and restored, and a
// stored layout can name it. TMethod is the untyped form the property tables move around.

struct TMethod {
  std::shared_ptr<const void> Code;         // a std::function of the event's signature
  std::type_index Signature{typeid(void)};  // that std::function's type
  TObject* Data = nullptr;                  // the object holding the handler
  std::string Name;                         // its published method name, when it has one

  bool Assigned() const { return Code != nullptr; }
  // Same handler: the same callable, or the same named method of the same object.
  friend bool operator==(const TMethod& a, const TMethod& b) {
    if (a.Code == b.Code) return true;
    return a.Assigned() && b.Assigned() && a.Data == b.Data && !a.Name.empty() &&
           a.Name == b.Name && a.Signature == b.Signature;
  }
};

// The published name of a bound member handler, found in the object's method table; empty
// when the member is not published. Defined in TypInfo.cpp.
std::string PublishedMethodName(const TObject& object, const std::any& member);
TObject* AsObject(TObject* object);

template <class... A>
class TEvent {
 public:
  using Function = std::function<void(A...)>;

  TEvent() = default;
  TEvent(std::nullptr_t) {}  // NOLINT: "OnClick = nullptr" clears a handler
  // An anonymous handler (a lambda): callable, but not nameable in a stored layout.
  template <class F>
  requires(std::is_invocable_r_v<void, F&, A...> && !std::is_same_v<std::decay_t<F>, TEvent> &&
           !std::is_same_v<std::decay_t<F>, TMethod> &&
           !std::is_same_v<std::decay_t<F>, std::nullptr_t>)
      TEvent(F&& f) {  // NOLINT: handlers convert implicitly, as in the platform
    method_.Code = std::make_shared<const Function>(std::forward<F>(f));
    method_.Signature = typeid(Function);
  }
  // A member handler of an object: TNotifyEvent(this, &TfrmX::btnOkClick). The name is
  // taken from the object's published methods when not given.
  template <class C, class B>
  TEvent(C* object, void (B::*member)(A...), std::string name = {}) {
    method_.Code = std::make_shared<const Function>(
        [object, member](A... args) { (object->*member)(std::forward<A>(args)...); });
    method_.Signature = typeid(Function);
    method_.Data = AsObject(object);
    method_.Name = name.empty() ? PublishedMethodName(*object, std::any(member)) : std::move(name);
  }
  // From an untyped method value; raises EMethodError when the signature differs.
  explicit TEvent(TMethod method) : method_(std::move(method)) {
    if (method_.Assigned() && method_.Signature != std::type_index(typeid(Function)))
      throw EMethodError("method " +
                         (method_.Name.empty() ? std::string("(anonymous)") : method_.Name) +
                         " does not fit this event's parameters");
  }

  void operator()(A... args) const {
    if (method_.Code) (*static_cast<const Function*>(method_.Code.get()))(std::forward<A>(args)...);
  }
  explicit operator bool() const { return method_.Assigned(); }
  const TMethod& Method() const { return method_; }
  TObject* Data() const { return method_.Data; }
  const std::string& MethodName() const { return method_.Name; }
  friend bool operator==(const TEvent& a, const TEvent& b) { return a.method_ == b.method_; }

 private:
  TMethod method_;
};

template <class T>
struct IsEventType : std::false_type {};
template <class... A>
struct IsEventType<TEvent<A...>> : std::true_type {};

// The name of an event type for dumps and messages; every event type used as a property
// gets one through NV_EVENT_TYPE (inside namespace nv):
//   NV_EVENT_TYPE(TNotifyEvent, TObject* /*Sender*/)
template <class E>
struct TEventTypeName;
#define NV_EVENT_TYPE(Name, ...)                \
  using Name = ::nv::TEvent<__VA_ARGS__>;       \
  template <>                                   \
  struct TEventTypeName<Name> {                 \
    static constexpr const char* Value = #Name; \
  }

template <class E>
constexpr const char* EventTypeNameOf() {
  if constexpr (requires { TEventTypeName<E>::Value; })
    return TEventTypeName<E>::Value;
  else
    return "TMethod";
}

// ---------------------------------------------------------------------------------------
// Table entries.

struct TPropInfo {
  std::string Name;
  TTypeKind Kind = tkInteger;
  std::string TypeName;                          // "Integer", "TColor", "TFont", "TNotifyEvent"
  const TEnumInfo* EnumInfo = nullptr;           // enumeration names; element names of a set
  const TIdentMap* IdentMap = nullptr;           // idents of an integer type
  const TClassInfo& (*PropClass)() = nullptr;    // class of a class property (looked up lazily)
  std::type_index Signature{typeid(void)};       // method properties: the handler's function type
  std::optional<std::int64_t> Default;           // stored default of an ordinal property
  std::function<bool(const TObject&)> IsStored;  // empty: always stored
  std::string StoredNote;                        // for the class reference: "false", "function"
  std::int64_t MinValue = std::numeric_limits<std::int64_t>::min();
  std::int64_t MaxValue = std::numeric_limits<std::int64_t>::max();

  std::function<std::int64_t(const TObject&)> GetOrd;
  std::function<void(TObject&, std::int64_t)> SetOrd;
  std::function<double(const TObject&)> GetFloat;
  std::function<void(TObject&, double)> SetFloat;
  std::function<std::string(const TObject&)> GetStr;
  std::function<void(TObject&, const std::string&)> SetStr;
  std::function<TObject*(const TObject&)> GetObject;
  std::function<void(TObject&, TObject*)> SetObject;
  std::function<TMethod(const TObject&)> GetMethod;
  std::function<void(TObject&, const TMethod&)> SetMethod;

  bool IsOrdinal() const {
    return Kind == tkInteger || Kind == tkChar || Kind == tkEnumeration || Kind == tkSet;
  }
  bool Writable() const;
  // A class property whose object is another component (FocusControl, PopupMenu): stored
  // as the component's name. Other class properties are owned sub-objects (Font, Items).
  bool IsReference() const;
  bool Stored(const TObject& instance) const { return !IsStored || IsStored(instance); }
};

struct TMethodInfo {
  std::string Name;
  std::type_index Signature{typeid(void)};
  std::string TypeName;                           // event type name, "TMethod" when unnamed
  std::function<TMethod(TObject&)> Bind;          // the handler bound to an instance
  std::function<bool(const std::any&)> IsMember;  // names handlers bound by member pointer
};

struct TFieldInfo {
  std::string Name;
  const TClassInfo& (*FieldClass)() = nullptr;
  std::function<void(TObject&, TComponent*)> Set;
};

// A form text compiled into the binary (see nv_embed_form_texts in FormText.cmake).
struct TEmbeddedText {
  std::string_view Text;
  std::string_view Source;  // file name, for messages
};

template <class C>
class TClassBuilder;

// ---------------------------------------------------------------------------------------
// One class: name, ancestor, tables, and a factory when the class can be created by name.

class TClassInfo {
 public:
  enum TFactoryKind { fkNone, fkPersistent, fkComponent, fkCollectionItem };

  TClassInfo(std::string name, const TClassInfo* parent);
  TClassInfo(const TClassInfo&) = delete;
  TClassInfo& operator=(const TClassInfo&) = delete;
  TClassInfo(TClassInfo&&) = default;

  // Builds the info of class C from its Publish(TClassBuilder<C>&) function.
  template <class C>
  static TClassInfo Make(const char* name);

  const std::string& ClassName() const { return name_; }
  const TClassInfo* ClassParent() const { return parent_; }
  bool InheritsFrom(const TClassInfo& other) const;
  bool InheritsFrom(std::string_view className) const;  // letter case ignored

  // The class's own declarations, in declaration order.
  const std::vector<TPropInfo>& OwnProperties() const { return props_; }
  const std::vector<TMethodInfo>& OwnMethods() const { return methods_; }
  const std::vector<TFieldInfo>& OwnFields() const { return fields_; }
  // All published properties, the most basic class first; a redeclared property keeps its
  // place and takes the derived declaration.
  std::vector<const TPropInfo*> Properties() const;
  // Find returns nothing; the derived declaration wins. Names ignore letter case.
  const TPropInfo* FindProperty(std::string_view name) const;
  const TMethodInfo* FindMethod(std::string_view name) const;
  const TFieldInfo* FindField(std::string_view name) const;

  // The class's own standard layout (form text), empty when it has none.
  const TEmbeddedText& FormText() const { return formText_; }

  TFactoryKind FactoryKind() const { return factoryKind_; }
  // Creating by class name; raises nv::Exception "Cannot create a TX" when the class has no
  // factory of that kind. AfterConstruction is called on the new object (a form reads its
  // texts there, once the whole object exists).
  TComponent* CreateComponent(TComponent* owner) const;
  std::unique_ptr<TPersistent> CreatePersistent() const;
  TCollectionItem* CreateCollectionItem(TCollection* collection) const;

 private:
  template <class C>
  friend class TClassBuilder;

  std::string name_;
  const TClassInfo* parent_;
  std::vector<TPropInfo> props_;
  std::vector<TMethodInfo> methods_;
  std::vector<TFieldInfo> fields_;
  TEmbeddedText formText_;
  TFactoryKind factoryKind_ = fkNone;
  std::function<TObject*(void*)> factory_;  // argument: owner or collection
};

// Declares the reflective part of a class, inside its body:
//   class TFont : public TPersistent {
//     NV_CLASS(TFont, TPersistent)
//    public: ...
// and in its .cpp, inside namespace nv:
//   NV_PUBLISH(TFont) { b.Prop("Color", &TFont::Color, &TFont::SetColor); ... }
#define NV_CLASS(Class, Parent)                        \
 public:                                               \
  using inherited = Parent;                            \
  static const ::nv::TClassInfo& StaticClassInfo();    \
  const ::nv::TClassInfo& ClassInfo() const override { \
    return Class::StaticClassInfo();                   \
  }                                                    \
  static void Publish(::nv::TClassBuilder<Class>& b);  \
                                                       \
 private:

#define NV_PUBLISH(Class)                                                       \
  const ::nv::TClassInfo& Class::StaticClassInfo() {                            \
    static const ::nv::TClassInfo info = ::nv::TClassInfo::Make<Class>(#Class); \
    return info;                                                                \
  }                                                                             \
  void Class::Publish([[maybe_unused]] ::nv::TClassBuilder<Class>& b)

// The embedded text of a unit: NV_FORM_TEXT_DECLARE(BaseGene) at namespace scope (outside
// any namespace) declares it, NV_FORM_TEXT(BaseGene) is its value.
#define NV_FORM_TEXT_DECLARE(Unit) \
  namespace nv::formtext {         \
  ::nv::TEmbeddedText Unit();      \
  }
#define NV_FORM_TEXT(Unit) (::nv::formtext::Unit())

// ---------------------------------------------------------------------------------------
// The class registry: classes that form texts may name.

void RegisterClass(const TClassInfo& info);  // raises when another class has that name
void RegisterClasses(std::initializer_list<const TClassInfo*> infos);
void UnRegisterClass(const TClassInfo& info);
const TClassInfo* GetClass(std::string_view name);   // nullptr when not registered
const TClassInfo& FindClass(std::string_view name);  // raises EClassNotFound "Class TX not found"
std::vector<const TClassInfo*> RegisteredClasses();  // sorted by name

// ---------------------------------------------------------------------------------------
// Access by name. A path reaches sub-objects through class properties: "Font.Name".
// Find returns nothing; Get insists and raises EPropertyError naming class and property.

struct TPropRef {
  TObject* Instance = nullptr;
  const TPropInfo* Info = nullptr;
  explicit operator bool() const { return Info != nullptr; }
};
TPropRef FindPropRef(const TObject& object, std::string_view path);
TPropRef GetPropRef(const TObject& object, std::string_view path);
bool IsPublishedProp(const TObject& object, std::string_view path);
const TPropInfo* FindPropInfo(const TClassInfo& info, std::string_view name);
const TPropInfo& GetPropInfo(const TClassInfo& info, std::string_view name);

std::int64_t GetOrdProp(const TObject& object, std::string_view path);
void SetOrdProp(TObject& object, std::string_view path, std::int64_t value);
double GetFloatProp(const TObject& object, std::string_view path);
void SetFloatProp(TObject& object, std::string_view path, double value);
std::string GetStrProp(const TObject& object, std::string_view path);
void SetStrProp(TObject& object, std::string_view path, const std::string& value);
TObject* GetObjectProp(const TObject& object, std::string_view path);
void SetObjectProp(TObject& object, std::string_view path, TObject* value);
TMethod GetMethodProp(const TObject& object, std::string_view path);
void SetMethodProp(TObject& object, std::string_view path, const TMethod& value);
std::string GetEnumProp(const TObject& object, std::string_view path);
void SetEnumProp(TObject& object, std::string_view path, std::string_view name);
std::string GetSetProp(const TObject& object, std::string_view path);  // "[fsBold,fsItalic]"
void SetSetProp(TObject& object, std::string_view path, std::string_view names);

// Any property as text: idents (clRed, GB2312_CHARSET, $AFFFFF), enumeration and set names
// (sp_Range, True, [fsBold]), numbers, strings, component and method names. Setting a
// class property names a component of the instance's owner; a method, a published method
// of the instance's owner.
std::string GetPropValue(const TObject& object, std::string_view path);
void SetPropValue(TObject& object, std::string_view path, std::string_view text);

// Text of one value of a property, and back; used by GetPropValue and the form text.
std::string OrdToText(const TPropInfo& info, std::int64_t value);
std::optional<std::int64_t> TextToOrd(const TPropInfo& info, std::string_view text);

// Copies every stored, writable published property from source to dest (same class or
// an ancestor of dest's class): values, handlers, references; sub-objects through Assign.
void AssignPublished(TPersistent& dest, const TPersistent& source);

// Published methods by name. Find returns an unassigned value; Get raises EMethodError.
TMethod FindMethod(TObject& object, std::string_view name);
TMethod MethodByName(TObject& object, std::string_view name);

// A text of all given classes with their properties, events, methods and fields, one line
// each, for the checked-in class reference.
std::string DumpClasses(const std::vector<const TClassInfo*>& classes);

namespace rtti_detail {
template <class V, bool = std::is_enum_v<V>>
struct Underlying {
  using type = V;
};
template <class V>
struct Underlying<V, true> {
  using type = std::underlying_type_t<V>;
};
[[noreturn]] void ThrowValueRange(const TPropInfo& info, const TObject& obj, std::int64_t value);
template <class V>
constexpr const char* IntegerTypeName() {
  if constexpr (std::is_same_v<V, std::uint8_t>)
    return "Byte";
  else if constexpr (std::is_same_v<V, std::int8_t>)
    return "ShortInt";
  else if constexpr (std::is_same_v<V, std::uint16_t>)
    return "Word";
  else if constexpr (std::is_same_v<V, std::int16_t>)
    return "SmallInt";
  else if constexpr (std::is_same_v<V, std::uint32_t>)
    return "Cardinal";
  else if constexpr (std::is_same_v<V, std::int32_t>)
    return "Integer";
  else
    return "Int64";
}
}  // namespace rtti_detail

// ---------------------------------------------------------------------------------------
// The builder: one line per property.
//   b.Prop("Caption", &TLabel::Caption, &TLabel::SetCaption);
//   b.Prop("Color", &TLabel::Color, &TLabel::SetColor).Default(clBtnFace);
//   b.Prop("OnClick", &TLabel::OnClick, &TLabel::SetOnClick);      // or a data member
//   b.Method("btnOkClick", &TfrmX::btnOkClick);
//   b.Field("btnOk", &TfrmX::btnOk);
// Getters are const member functions or data members; setters member functions, data
// members or nullptr (read-only). The kind follows the value type: integers, char, bool and
// NV_ENUM types, TSet, float types, std::string, pointers to TObject classes, TEvent types.

template <class C>
class TClassBuilder {
 public:
  explicit TClassBuilder(TClassInfo& info) : info_(info) {}

  template <class G, class S = std::nullptr_t>
  TClassBuilder& Prop(const char* name, G getter, S setter = nullptr);

  // Stored default of the last ordinal property (enumerators, Booleans, sets allowed).
  template <class V>
  TClassBuilder& Default(V value) {
    Last().Default = ToOrd(value);
    return *this;
  }
  TClassBuilder& NoDefault() {
    Last().Default.reset();
    return *this;
  }
  // Whether the last property is written to form text: never, or as the predicate says.
  TClassBuilder& Stored(bool stored) {
    Last().IsStored = [stored](const TObject&) { return stored; };
    Last().StoredNote = stored ? "true" : "false";
    return *this;
  }
  TClassBuilder& Stored(bool (C::*predicate)() const) {
    Last().IsStored = [predicate](const TObject& o) {
      return (static_cast<const C&>(o).*predicate)();
    };
    Last().StoredNote = "function";
    return *this;
  }

  template <class B, class... A>
  TClassBuilder& Method(const char* name, void (B::*member)(A...)) {
    using Event = TEvent<A...>;
    TMethodInfo m;
    m.Name = name;
    m.Signature = typeid(typename Event::Function);
    m.TypeName = EventTypeNameOf<Event>();
    m.IsMember = [member](const std::any& other) {
      auto* p = std::any_cast<void (B::*)(A...)>(&other);
      return p && *p == member;
    };
    std::string methodName = name;
    m.Bind = [member, methodName](TObject& self) {
      TMethod method = Event(static_cast<C*>(&self), member, methodName).Method();
      return method;
    };
    info_.methods_.push_back(std::move(m));
    return *this;
  }

  // The class's standard layout: b.FormText(NV_FORM_TEXT(BaseGene)).
  TClassBuilder& FormText(TEmbeddedText text) {
    info_.formText_ = text;
    return *this;
  }

  template <class T>
  TClassBuilder& Field(const char* name, T* C::*field) {
    TFieldInfo f;
    f.Name = name;
    f.FieldClass = &T::StaticClassInfo;
    f.Set = [field](TObject& self, TComponent* value) {
      static_cast<C&>(self).*field = static_cast<T*>(value);
    };
    info_.fields_.push_back(std::move(f));
    return *this;
  }

 private:
  TPropInfo& Last() { return info_.props_.back(); }

  template <class V>
  static std::int64_t ToOrd(V value) {
    if constexpr (IsSetType<V>::value)
      return static_cast<std::int64_t>(value.Bits());
    else if constexpr (std::is_same_v<V, char>)
      return static_cast<unsigned char>(value);
    else
      return static_cast<std::int64_t>(value);
  }
  template <class V>
  static V FromOrd(std::int64_t value) {
    if constexpr (IsSetType<V>::value)
      return V::FromBits(static_cast<std::uint64_t>(value));
    else if constexpr (std::is_same_v<V, bool>)
      return value != 0;
    else
      return static_cast<V>(value);
  }

  template <class S, class V>
  static void Assign(S setter, C& self, V&& value) {
    if constexpr (std::is_member_object_pointer_v<S>)
      self.*setter = std::forward<V>(value);
    else
      (self.*setter)(std::forward<V>(value));
  }

  TClassInfo& info_;
};

template <class C>
template <class G, class S>
TClassBuilder<C>& TClassBuilder<C>::Prop(const char* name, G getter, S setter) {
  using V = std::remove_cvref_t<std::invoke_result_t<G, const C&>>;
  constexpr bool kWritable = !std::is_same_v<S, std::nullptr_t>;
  TPropInfo p;
  p.Name = name;
  auto get = [getter](const TObject& o) -> decltype(auto) {
    return std::invoke(getter, static_cast<const C&>(o));
  };

  if constexpr (std::is_same_v<V, bool> || std::is_same_v<V, char> || std::is_enum_v<V> ||
                std::is_integral_v<V> || IsSetType<V>::value) {
    if constexpr (std::is_same_v<V, bool>) {
      p.Kind = tkEnumeration;
      p.TypeName = "Boolean";
      p.EnumInfo = &BooleanInfo();
      p.MinValue = 0;
      p.MaxValue = 1;
    } else if constexpr (std::is_same_v<V, char>) {
      p.Kind = tkChar;
      p.TypeName = "Char";
      p.MinValue = 0;
      p.MaxValue = 255;
    } else if constexpr (IsSetType<V>::value) {
      using E = typename IsSetType<V>::Element;
      static_assert(HasEnumInfo<E>, "a set's element type needs NV_ENUM");
      const TEnumInfo& e = NvEnumInfo(static_cast<const E*>(nullptr));
      p.Kind = tkSet;
      p.EnumInfo = &e;
      p.TypeName = "set of " + e.TypeName();
      p.MinValue = 0;
      p.MaxValue = e.Count() >= 63 ? std::numeric_limits<std::int64_t>::max()
                                   : (std::int64_t{1} << e.Count()) - 1;
    } else if constexpr (HasEnumInfo<V>) {
      const TEnumInfo& e = NvEnumInfo(static_cast<const V*>(nullptr));
      p.Kind = tkEnumeration;
      p.EnumInfo = &e;
      p.TypeName = e.TypeName();
      p.MinValue = 0;
      p.MaxValue = e.Count() - 1;
    } else {
      using U = typename rtti_detail::Underlying<V>::type;
      if constexpr (std::is_enum_v<V>) {
        static_assert(HasIdentMap<V>, "an enumeration needs NV_ENUM or NV_IDENT_TYPE");
        p.IdentMap = &NvIdentMap(static_cast<const V*>(nullptr));
        p.TypeName = p.IdentMap->TypeName();
      } else {
        p.TypeName = rtti_detail::IntegerTypeName<U>();
      }
      p.Kind = tkInteger;
      p.MinValue = static_cast<std::int64_t>(std::numeric_limits<U>::min());
      if constexpr (sizeof(U) == 8 && std::is_unsigned_v<U>)
        p.MaxValue = std::numeric_limits<std::int64_t>::max();
      else
        p.MaxValue = static_cast<std::int64_t>(std::numeric_limits<U>::max());
    }
    p.GetOrd = [get](const TObject& o) { return ToOrd<V>(get(o)); };
    if constexpr (kWritable)
      p.SetOrd = [setter](TObject& o, std::int64_t v) {
        Assign(setter, static_cast<C&>(o), FromOrd<V>(v));
      };
  } else if constexpr (std::is_floating_point_v<V>) {
    p.Kind = tkFloat;
    p.TypeName = std::is_same_v<V, float> ? "Single" : "Double";
    p.GetFloat = [get](const TObject& o) { return static_cast<double>(get(o)); };
    if constexpr (kWritable)
      p.SetFloat = [setter](TObject& o, double v) {
        Assign(setter, static_cast<C&>(o), static_cast<V>(v));
      };
  } else if constexpr (std::is_same_v<V, std::string>) {
    p.Kind = tkString;
    p.TypeName = "string";
    p.GetStr = [get](const TObject& o) { return std::string(get(o)); };
    if constexpr (kWritable)
      p.SetStr = [setter](TObject& o, const std::string& v) {
        Assign(setter, static_cast<C&>(o), v);
      };
  } else if constexpr (std::is_pointer_v<V>) {
    using T = std::remove_cv_t<std::remove_pointer_t<V>>;
    p.Kind = tkClass;
    p.PropClass = &T::StaticClassInfo;
    p.GetObject = [get](const TObject& o) -> TObject* { return const_cast<T*>(get(o)); };
    if constexpr (kWritable)
      p.SetObject = [setter](TObject& o, TObject* v) {
        Assign(setter, static_cast<C&>(o), static_cast<T*>(v));
      };
  } else if constexpr (IsEventType<V>::value) {
    p.Kind = tkMethod;
    p.TypeName = EventTypeNameOf<V>();
    p.Signature = typeid(typename V::Function);
    p.GetMethod = [get](const TObject& o) { return TMethod(get(o).Method()); };
    if constexpr (kWritable)
      p.SetMethod = [setter](TObject& o, const TMethod& m) {
        Assign(setter, static_cast<C&>(o), V(m));
      };
  } else {
    static_assert(sizeof(V) == 0, "unsupported published property type");
  }
  info_.props_.push_back(std::move(p));
  return *this;
}

template <class C>
TClassInfo TClassInfo::Make(const char* name) {
  const TClassInfo* parent = nullptr;
  if constexpr (requires { typename C::inherited; }) parent = &C::inherited::StaticClassInfo();
  TClassInfo info(name, parent);
  if constexpr (!std::is_abstract_v<C>) {
    if constexpr (std::is_base_of_v<TComponent, C>) {
      info.factoryKind_ = fkComponent;
      info.factory_ = [](void* owner) -> TObject* {
        return new C(static_cast<TComponent*>(owner));
      };
    } else if constexpr (std::is_base_of_v<TCollectionItem, C>) {
      info.factoryKind_ = fkCollectionItem;
      info.factory_ = [](void* collection) -> TObject* {
        return new C(static_cast<TCollection*>(collection));
      };
    } else if constexpr (std::is_default_constructible_v<C>) {
      info.factoryKind_ = fkPersistent;
      info.factory_ = [](void*) -> TObject* { return new C(); };
    }
  }
  TClassBuilder<C> builder(info);
  C::Publish(builder);
  return info;
}

}  // namespace nv

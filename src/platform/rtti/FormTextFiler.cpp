// Form text onto components and back, through the published-property tables only.
#include <cmath>

#include "platform/rtti/Collection.h"
#include "platform/rtti/FormText.h"

namespace nv {

namespace {

std::string Place(std::string_view source, int line, int column) {
  std::string where = source.empty() ? std::string() : std::string(source) + ": ";
  return where + "line " + std::to_string(line) + ", column " + std::to_string(column) + ": ";
}

// Collects the defined properties of one object, to read one by name or write all.
class TCollectFiler : public TFiler {
 public:
  struct Entry {
    std::string Name;
    TReadProc Read;
    TWriteProc Write;
    bool HasData;
  };
  explicit TCollectFiler(const TPersistent* ancestor) { ancestor_ = ancestor; }
  void DefineProperty(const std::string& name, TReadProc read, TWriteProc write,
                      bool hasData) override {
    entries.push_back({name, std::move(read), std::move(write), hasData});
  }
  std::vector<Entry> entries;
};

// ---------------------------------------------------------------------------------------
// Reading

class TFormReader {
 public:
  TFormReader(TComponent& root, std::string_view source) : root_(root), source_(source) {}

  void Read(const TFormObject& obj) {
    if (!root_.InheritsFrom(obj.ClassName))
      Fail(obj.Line, obj.Column,
           "the text describes a " + obj.ClassName + ", not an ancestor of " + root_.ClassName());
    CheckClasses(obj);
    try {
      Begin(root_);
      if (!obj.Name.empty() && obj.Name != root_.Name()) SetRootName(obj);
      ReadBody(root_, obj);
      ResolveFixups();
    } catch (...) {
      for (TComponent* c : loaded_) c->SetLoading(false);
      throw;
    }
    for (TComponent* c : loaded_) c->SetLoading(false);
    for (TComponent* c : loaded_) {
      try {
        c->Loaded();
      } catch (const EFormTextError&) {
        throw;
      } catch (const std::exception& e) {
        throw EFormTextError(Place(source_, obj.Line, obj.Column) + "Loaded of " + c->Name() +
                             ": " + e.what());
      }
    }
  }

 private:
  struct Fixup {
    TObject* Instance;
    const TPropInfo* Info;
    std::string Name;
    int Line, Column;
  };

  [[noreturn]] void Fail(int line, int column, const std::string& message) const {
    throw EFormTextError(Place(source_, line, column) + message);
  }

  // Runs a step; any error that has no place yet gets this one.
  template <class F>
  void At(int line, int column, F&& step) {
    try {
      step();
    } catch (const EFormTextError&) {
      throw;
    } catch (const std::exception& e) {
      Fail(line, column, e.what());
    }
  }

  void Begin(TComponent& c) {
    c.SetLoading(true);
    loaded_.push_back(&c);
  }

  void SetRootName(const TFormObject& obj) {
    // A second instance beside the first under the same owner gets a numbered name.
    std::string name = obj.Name;
    TComponent* owner = root_.Owner();
    for (int n = 1; owner && owner->FindComponent(name) && owner->FindComponent(name) != &root_;
         ++n)
      name = obj.Name + "_" + std::to_string(n);
    At(obj.Line, obj.Column, [&] { root_.SetName(name); });
  }

  // Unknown classes are found before anything changes.
  void CheckClasses(const TFormObject& obj) {
    for (const TFormObject& child : obj.Children) {
      if (child.Kind == TFormObject::bkObject && !LookupClass(child.ClassName))
        Fail(child.Line, child.Column, "class " + child.ClassName + " not found");
      CheckClasses(child);
    }
  }

  // Classes of the root's published fields first, then the registry.
  const TClassInfo* LookupClass(std::string_view name) const {
    for (const TClassInfo* c = &root_.ClassInfo(); c; c = c->ClassParent())
      for (const TFieldInfo& f : c->OwnFields())
        if (SameText(f.FieldClass().ClassName(), name)) return &f.FieldClass();
    return GetClass(name);
  }

  void ReadBody(TComponent& component, const TFormObject& obj) {
    for (const TFormProperty& p : obj.Properties) ReadProperty(component, p);
    for (const TFormObject& child : obj.Children) ReadChild(component, child);
  }

  void ReadChild(TComponent& parent, const TFormObject& obj) {
    TComponent* c = nullptr;
    if (obj.Kind == TFormObject::bkInherited) {
      c = root_.FindComponent(obj.Name);
      if (!c)
        Fail(obj.Line, obj.Column,
             "inherited component " + obj.Name + " not found in " + root_.ClassName());
      if (!c->InheritsFrom(obj.ClassName))
        Fail(obj.Line, obj.Column,
             "component " + obj.Name + " is a " + c->ClassName() + ", not a " + obj.ClassName);
      Begin(*c);
    } else {
      if (!obj.Name.empty() && root_.FindComponent(obj.Name))
        Fail(obj.Line, obj.Column, "A component named " + obj.Name + " already exists");
      const TClassInfo* info = LookupClass(obj.ClassName);
      if (!info) Fail(obj.Line, obj.Column, "class " + obj.ClassName + " not found");
      At(obj.Line, obj.Column, [&] {
        c = info->CreateComponent(&root_);
        Begin(*c);
        c->SetName(obj.Name);
      });
    }
    At(obj.Line, obj.Column, [&] { c->SetParentComponent(&parent); });
    ReadBody(*c, obj);
  }

  void ReadProperty(TObject& instance, const TFormProperty& p) {
    TObject* target = &instance;
    std::string_view path = p.Name;
    while (true) {
      size_t dot = path.find('.');
      std::string_view part = path.substr(0, dot);
      const TPropInfo* info = target->ClassInfo().FindProperty(part);
      if (dot == std::string_view::npos) {
        if (info) {
          At(p.Line, p.Column, [&] { Apply(*target, *info, p.Value); });
          return;
        }
        if (auto* persistent = dynamic_cast<TPersistent*>(target)) {
          TCollectFiler filer(nullptr);
          persistent->DefineProperties(filer);
          for (auto& e : filer.entries)
            if (SameText(e.Name, part)) {
              At(p.Line, p.Column, [&] { e.Read(p.Value); });
              return;
            }
        }
        Fail(p.Line, p.Column, target->ClassName() + " has no property " + std::string(part));
      }
      if (!info)
        Fail(p.Line, p.Column, target->ClassName() + " has no property " + std::string(part));
      if (info->Kind != tkClass)
        Fail(p.Line, p.Column,
             "property " + info->Name + " of " + target->ClassName() + " is no object");
      TObject* next = info->GetObject(*target);
      if (!next)
        Fail(p.Line, p.Column,
             "property " + info->Name + " of " + target->ClassName() + " holds no object");
      target = next;
      path = path.substr(dot + 1);
    }
  }

  std::string Expects(const TPropInfo& info, const TObject& obj, const char* what,
                      const TFormValue& v) const {
    return "property " + info.Name + " of " + obj.ClassName() + " expects " + what + ", found " +
           ValueTypeName(v.Type);
  }

  void Apply(TObject& obj, const TPropInfo& info, const TFormValue& v) {
    if (!info.Writable() && info.Kind != tkClass)
      throw EPropertyError("property " + info.Name + " of " + obj.ClassName() + " is read-only");
    switch (info.Kind) {
      case tkInteger:
      case tkChar:
      case tkEnumeration:
      case tkSet:
        ApplyOrdinal(obj, info, v);
        return;
      case tkFloat:
        if (v.Type == vaFloat)
          info.SetFloat(obj, v.Float);
        else if (v.Type == vaInteger)
          info.SetFloat(obj, static_cast<double>(v.Integer));
        else
          throw EPropertyError(Expects(info, obj, "a float", v));
        return;
      case tkString:
        if (v.Type != vaString) throw EPropertyError(Expects(info, obj, "a string", v));
        info.SetStr(obj, v.Text);
        return;
      case tkMethod:
        ApplyMethod(obj, info, v);
        return;
      case tkClass:
        ApplyClass(obj, info, v);
        return;
    }
  }

  static const char* KindValue(TTypeKind kind) {
    switch (kind) {
      case tkInteger:
        return "an integer";
      case tkChar:
        return "a character";
      case tkEnumeration:
        return "an identifier";
      case tkSet:
        return "a set";
      default:
        return "a value";
    }
  }

  void ApplyOrdinal(TObject& obj, const TPropInfo& info, const TFormValue& v) {
    std::int64_t value = 0;
    std::optional<std::int64_t> named;
    switch (v.Type) {
      case vaInteger:
        if (info.Kind == tkSet) throw EPropertyError(Expects(info, obj, "a set", v));
        value = v.Integer;
        break;
      case vaIdent:
        if (info.Kind == tkSet || info.Kind == tkChar || (info.Kind == tkInteger && !info.IdentMap))
          throw EPropertyError(Expects(info, obj, info.Kind == tkSet ? "a set" : "a number", v));
        named = info.Kind == tkEnumeration
                    ? (info.EnumInfo->Value(v.Text) >= 0
                           ? std::optional<std::int64_t>(info.EnumInfo->Value(v.Text))
                           : std::nullopt)
                    : info.IdentMap->ToValue(v.Text);
        if (!named)
          throw EPropertyError("'" + v.Text + "' is not a value of " + info.TypeName +
                               " (property " + info.Name + " of " + obj.ClassName() + ")");
        value = *named;
        break;
      case vaSet: {
        if (info.Kind != tkSet) throw EPropertyError(Expects(info, obj, "a single value", v));
        std::uint64_t bits = 0;
        for (const std::string& name : v.Names) {
          int e = info.EnumInfo->Value(name);
          if (e < 0)
            throw EPropertyError("'" + name + "' is not a member of " + info.TypeName +
                                 " (property " + info.Name + " of " + obj.ClassName() + ")");
          bits |= std::uint64_t{1} << e;
        }
        value = static_cast<std::int64_t>(bits);
        break;
      }
      case vaString:
        if (info.Kind != tkChar || v.Text.size() != 1)
          throw EPropertyError(Expects(info, obj, KindValue(info.Kind), v));
        value = static_cast<unsigned char>(v.Text[0]);
        break;
      default:
        throw EPropertyError(Expects(info, obj, KindValue(info.Kind), v));
    }
    if (value < info.MinValue || value > info.MaxValue)
      rtti_detail::ThrowValueRange(info, obj, value);
    info.SetOrd(obj, value);
  }

  void ApplyMethod(TObject& obj, const TPropInfo& info, const TFormValue& v) {
    if (v.Type != vaIdent) throw EPropertyError(Expects(info, obj, "a method name", v));
    if (SameText(v.Text, "nil")) {
      info.SetMethod(obj, TMethod{});
      return;
    }
    TMethod m = FindMethod(root_, v.Text);
    if (!m.Assigned()) throw EMethodError(root_.ClassName() + " has no published method " + v.Text);
    if (m.Signature != info.Signature)
      throw EMethodError("method " + v.Text + " does not fit property " + info.Name + " of " +
                         obj.ClassName() + " (" + info.TypeName + ")");
    info.SetMethod(obj, m);
  }

  void ApplyClass(TObject& obj, const TPropInfo& info, const TFormValue& v) {
    if (info.IsReference()) {
      if (v.Type != vaIdent) throw EPropertyError(Expects(info, obj, "a component name", v));
      if (!info.Writable())
        throw EPropertyError("property " + info.Name + " of " + obj.ClassName() + " is read-only");
      fixups_.push_back({&obj, &info, v.Text, v.Line, v.Column});
      return;
    }
    auto* collection = dynamic_cast<TCollection*>(info.GetObject(obj));
    if (v.Type == vaCollection && collection) {
      collection->BeginUpdate();
      try {
        collection->Clear();
        for (const TFormItem& item : v.Items) {
          TCollectionItem* added = collection->Add();
          for (const TFormProperty& p : item.Properties) ReadProperty(*added, p);
        }
      } catch (...) {
        collection->EndUpdate();
        throw;
      }
      collection->EndUpdate();
      return;
    }
    if (v.Type == vaCollection)
      throw EPropertyError("property " + info.Name + " of " + obj.ClassName() +
                           " is no collection");
    throw EPropertyError("property " + info.Name + " of " + obj.ClassName() +
                         " is an object; set its properties by path");
  }

  void ResolveFixups() {
    for (const Fixup& f : fixups_) {
      TComponent* target = nullptr;
      if (!SameText(f.Name, "nil")) {
        target = SameText(f.Name, root_.Name()) ? &root_ : root_.FindComponent(f.Name);
        if (!target)
          Fail(f.Line, f.Column,
               "component " + f.Name + " not found for property " + f.Info->Name + " of " +
                   f.Instance->ClassName());
        if (!target->InheritsFrom(f.Info->PropClass()))
          Fail(f.Line, f.Column,
               "component " + f.Name + " is a " + target->ClassName() + ", property " +
                   f.Info->Name + " of " + f.Instance->ClassName() + " needs a " +
                   f.Info->PropClass().ClassName());
      }
      At(f.Line, f.Column, [&] { f.Info->SetObject(*f.Instance, target); });
    }
  }

  TComponent& root_;
  std::string_view source_;
  std::vector<TComponent*> loaded_;
  std::vector<Fixup> fixups_;
};

// ---------------------------------------------------------------------------------------
// Writing

class TFormWriter {
 public:
  TFormWriter(const TComponent& root, const TComponent* ancestorRoot)
      : root_(root), ancestorRoot_(ancestorRoot) {}

  TFormObject WriteRoot() {
    TFormObject obj;
    obj.Kind = ancestorRoot_ ? TFormObject::bkInherited : TFormObject::bkObject;
    obj.Name = root_.Name();
    obj.ClassName = root_.ClassName();
    WriteProperties(root_, ancestorRoot_, "", obj.Properties);
    WriteChildren(root_, obj);
    return obj;
  }

 private:
  void WriteChildren(const TComponent& component, TFormObject& obj) {
    component.GetChildren(
        [&](TComponent& child) {
          const TComponent* ancestor =
              ancestorRoot_ ? ancestorRoot_->FindComponent(child.Name()) : nullptr;
          if (ancestor && ancestor->ClassInfo().ClassName() != child.ClassName())
            ancestor = nullptr;
          TFormObject block;
          block.Kind = ancestor ? TFormObject::bkInherited : TFormObject::bkObject;
          block.Name = child.Name();
          block.ClassName = child.ClassName();
          // A new component is written against a fresh one of its class: reading creates
          // exactly that before applying the block.
          std::unique_ptr<TComponent> fresh;
          if (!ancestor && child.ClassInfo().FactoryKind() == TClassInfo::fkComponent)
            fresh.reset(child.ClassInfo().CreateComponent(nullptr));
          WriteProperties(child, ancestor ? ancestor : fresh.get(), "", block.Properties);
          WriteChildren(child, block);
          // An inherited component without differences needs no block.
          if (ancestor && block.Properties.empty() && block.Children.empty()) return;
          obj.Children.push_back(std::move(block));
        },
        root_);
  }

  // The name under which a component is stored by reference from root.
  static std::string ReferenceName(const TComponent* target, const TComponent* root) {
    if (!target) return {};
    if (target == root) return target->Name();
    if (target->Owner() == root || !target->Owner()) return target->Name();
    return target->Owner()->Name() + "." + target->Name();
  }

  static std::string HandlerName(const TMethod& m, const TComponent* root) {
    return m.Assigned() && m.Data == root ? m.Name : std::string();
  }

  void WriteProperties(const TObject& instance, const TObject* ancestor, const std::string& prefix,
                       std::vector<TFormProperty>& out) {
    std::vector<std::string> published;
    for (const TPropInfo* p : instance.ClassInfo().Properties()) {
      published.push_back(p->Name);
      if (!p->Stored(instance)) continue;
      // The ancestor object may be of a base class when the classes differ.
      const TObject* anc =
          ancestor && ancestor->ClassInfo().FindProperty(p->Name) == p ? ancestor : nullptr;
      WriteProperty(instance, anc, *p, prefix, out);
    }
    auto* persistent = dynamic_cast<const TPersistent*>(&instance);
    if (!persistent) return;
    TCollectFiler filer(dynamic_cast<const TPersistent*>(ancestor));
    const_cast<TPersistent*>(persistent)->DefineProperties(filer);
    for (auto& e : filer.entries) {
      bool shadowed = false;
      for (const std::string& name : published) shadowed = shadowed || SameText(name, e.Name);
      if (shadowed || !e.HasData) continue;
      out.push_back({prefix + e.Name, e.Write(), 0, 0});
    }
  }

  void Add(std::vector<TFormProperty>& out, const std::string& name, TFormValue v) {
    out.push_back({name, std::move(v), 0, 0});
  }

  void WriteProperty(const TObject& instance, const TObject* anc, const TPropInfo& p,
                     const std::string& prefix, std::vector<TFormProperty>& out) {
    std::string name = prefix + p.Name;
    switch (p.Kind) {
      case tkInteger:
      case tkChar:
      case tkEnumeration:
      case tkSet: {
        if (!p.Writable()) return;
        std::int64_t v = p.GetOrd(instance);
        if (anc ? v == p.GetOrd(*anc) : (p.Default && v == *p.Default)) return;
        Add(out, name, OrdinalValue(p, v));
        return;
      }
      case tkFloat: {
        if (!p.Writable()) return;
        double v = p.GetFloat(instance);
        if (anc ? v == p.GetFloat(*anc) : v == 0.0) return;
        if (!std::isfinite(v)) return;  // not expressible in form text
        TFormValue value;
        value.Type = vaFloat;
        value.Float = v;
        Add(out, name, value);
        return;
      }
      case tkString: {
        if (!p.Writable()) return;
        std::string v = p.GetStr(instance);
        if (anc ? v == p.GetStr(*anc) : v.empty()) return;
        Add(out, name, TFormValue::OfString(v));
        return;
      }
      case tkMethod: {
        if (!p.Writable()) return;
        TMethod m = p.GetMethod(instance);
        std::string v = HandlerName(m, &root_);
        std::string a = anc ? HandlerName(p.GetMethod(*anc), ancestorRoot_) : std::string();
        if (v == a) return;
        if (!v.empty())
          Add(out, name, TFormValue::OfIdent(v));
        else if (!m.Assigned())
          Add(out, name, TFormValue::OfIdent("nil"));
        // An anonymous handler cannot be named in a layout; it is not written.
        return;
      }
      case tkClass:
        WriteClassProperty(instance, anc, p, name, out);
        return;
    }
  }

  static TFormValue OrdinalValue(const TPropInfo& p, std::int64_t v) {
    switch (p.Kind) {
      case tkInteger:
        if (p.IdentMap)
          if (const char* ident = p.IdentMap->ToIdent(v)) return TFormValue::OfIdent(ident);
        return TFormValue::OfInteger(v);
      case tkChar:
        return TFormValue::OfString(std::string(1, static_cast<char>(v)));
      case tkEnumeration:
        return TFormValue::OfIdent(p.EnumInfo->Name(v));
      default: {
        TFormValue set;
        set.Type = vaSet;
        for (int i = 0; i < p.EnumInfo->Count() && i < 64; ++i)
          if (static_cast<std::uint64_t>(v) & (std::uint64_t{1} << i))
            set.Names.push_back(p.EnumInfo->Name(i));
        return set;
      }
    }
  }

  void WriteClassProperty(const TObject& instance, const TObject* anc, const TPropInfo& p,
                          const std::string& name, std::vector<TFormProperty>& out) {
    TObject* value = p.GetObject(instance);
    if (p.IsReference()) {
      if (!p.Writable()) return;
      std::string v = ReferenceName(dynamic_cast<const TComponent*>(value), &root_);
      std::string a =
          anc ? ReferenceName(dynamic_cast<const TComponent*>(p.GetObject(*anc)), ancestorRoot_)
              : std::string();
      if (v == a) return;
      Add(out, name, TFormValue::OfIdent(v.empty() ? "nil" : v));
      return;
    }
    if (!value) return;
    const TObject* ancValue = anc ? p.GetObject(*anc) : nullptr;
    if (auto* collection = dynamic_cast<const TCollection*>(value)) {
      TFormValue items = CollectionValue(*collection);
      auto* ancCollection = dynamic_cast<const TCollection*>(ancValue);
      bool same = ancCollection ? SameItems(items, CollectionValue(*ancCollection))
                                : collection->Count() == 0;
      if (!same) Add(out, name, std::move(items));
      return;
    }
    WriteProperties(*value, ancValue, name + ".", out);
  }

  TFormValue CollectionValue(const TCollection& collection) {
    TFormValue v;
    v.Type = vaCollection;
    for (int i = 0; i < collection.Count(); ++i) {
      TFormItem item;
      WriteProperties(*collection.Items(i), nullptr, "", item.Properties);
      v.Items.push_back(std::move(item));
    }
    return v;
  }

  static bool SameItems(const TFormValue& a, const TFormValue& b) {
    return FormObjectText(a) == FormObjectText(b);
  }
  static std::string FormObjectText(const TFormValue& v) {
    TFormObject holder;
    holder.ClassName = "T";
    holder.Properties.push_back({"X", v, 0, 0});
    return FormObjectToText(holder);
  }

  const TComponent& root_;
  const TComponent* ancestorRoot_;
};

}  // namespace

void ReadComponentObject(TComponent& root, const TFormObject& object, std::string_view sourceName) {
  TFormReader(root, sourceName).Read(object);
}

void ReadComponentText(TComponent& root, std::string_view text, std::string_view sourceName) {
  TFormObject object = ParseFormText(text, sourceName);
  ReadComponentObject(root, object, sourceName);
}

TFormObject WriteComponentObject(const TComponent& root, const TComponent* ancestor) {
  return TFormWriter(root, ancestor).WriteRoot();
}

std::string WriteComponentText(const TComponent& root, const TComponent* ancestor) {
  return FormObjectToText(WriteComponentObject(root, ancestor));
}

std::string WriteComponentDiff(const TComponent& root) {
  std::unique_ptr<TComponent> fresh(root.ClassInfo().CreateComponent(nullptr));
  return WriteComponentText(root, fresh.get());
}

int InitInheritedComponent(TComponent& instance, const TClassInfo* stopAt) {
  std::vector<const TClassInfo*> chain;
  for (const TClassInfo* c = &instance.ClassInfo(); c && c != stopAt; c = c->ClassParent())
    if (!c->FormText().Text.empty()) chain.push_back(c);
  for (auto it = chain.rbegin(); it != chain.rend(); ++it)
    ReadComponentText(instance, (*it)->FormText().Text, (*it)->FormText().Source);
  return static_cast<int>(chain.size());
}

}  // namespace nv

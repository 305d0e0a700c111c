#pragma once
// Helpers to implement automation objects: a reference-counted base, a table of members per
// class (methods and properties by name), and argument access that fails with structure:
//   "Tallyd.Class1.GetBlobField: argument 1: expected an array, got Integer".
// By-reference arguments come back by the member changing its argument in place
// (TDispatchArgs::Ref); the caller reads them from the argument list it passed.
#include <atomic>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/core/SysUtils.h"
#include "platform/core/Variant.h"

namespace nv {

// Every failure of a late-bound call: unknown member, wrong argument count or type, a class
// that cannot be created. Members may also raise their own exceptions; those pass through.
NV_DECLARE_EXCEPTION(EOleError, Exception);

// The arguments of one call, as the member sees them. Positions count from 1, as the error
// texts count them, so `args.Text(1)` reads the argument a message calls "argument 1".
class TDispatchArgs {
 public:
  TDispatchArgs(std::string_view objectName, std::string_view member, std::span<Variant> args)
      : objectName_(objectName), member_(member), args_(args) {}

  int Count() const { return static_cast<int>(args_.size()); }
  bool Has(int position) const { return position >= 1 && position <= Count(); }

  // Raises "<obj>.<member>: expected 2 arguments, got 1" (max < 0: no upper limit).
  void ExpectCount(int min, int max) const;
  void ExpectCount(int count) const { ExpectCount(count, count); }

  // The argument itself, present or raising "argument N: missing".
  const Variant& Value(int position) const;
  // The argument as a by-reference slot: what the member stores here goes back to the caller.
  Variant& Ref(int position);
  // An optional argument: the fallback when the caller passed fewer arguments.
  const Variant& ValueOr(int position, const Variant& fallback) const;

  // Typed reads. Conversions follow the Variant's own rules; a value that cannot be read as
  // the type raises "<obj>.<member>: argument N: expected <what>, got <type>".
  std::string Text(int position) const;
  int Integer(int position) const;
  bool Boolean(int position) const;
  double Double(int position) const;
  // An array, optionally with at least minCount elements in its first dimension.
  const Variant& Array(int position, int minCount = 0) const;
  Variant& ArrayRef(int position, int minCount = 0);
  IDispatchObject* Object(int position) const;

  // The structured failure for anything the helpers above do not check.
  [[noreturn]] void Fail(int position, std::string_view problem) const;
  [[noreturn]] void FailExpected(int position, std::string_view expected) const;
  // "<obj>.<member>"; the place every message starts with.
  std::string Where() const;

 private:
  std::string_view objectName_;
  std::string_view member_;
  std::span<Variant> args_;
};

// How a value is named in an error text: the type, and a short quote of texts and numbers
// ("String \"abc\"", "Integer 5", "Array Variant of 3").
std::string DescribeVariant(const Variant& value);

// Reference counting as automation objects have it. A new object holds no reference: the
// first Variant that takes it owns it, and the last Release frees it.
class TDispatchBase : public IDispatchObject {
 public:
  void AddRef() noexcept override { refCount_.fetch_add(1, std::memory_order_relaxed); }
  void Release() noexcept override;
  int RefCount() const noexcept { return refCount_.load(); }

 protected:
  TDispatchBase() = default;
  TDispatchBase(const TDispatchBase&) = delete;
  TDispatchBase& operator=(const TDispatchBase&) = delete;

 private:
  std::atomic<int> refCount_{0};
};

// The members of one automation class. Names compare without letter case, as late-bound
// names do. A method also answers a property read (a parameterless call is often written as
// a read by callers); a property without a put handler is read-only.
template <class T>
class TDispatchTable {
 public:
  using Handler = std::function<Variant(T&, TDispatchArgs&)>;
  using PutHandler = std::function<void(T&, TDispatchArgs&, const Variant&)>;

  struct Member {
    std::string name;
    bool isMethod = false;
    Handler call;    // method, or property read
    PutHandler put;  // property write
  };

  TDispatchTable& Method(std::string name, Handler handler) {
    members_.push_back({std::move(name), true, std::move(handler), {}});
    return *this;
  }
  TDispatchTable& Property(std::string name, Handler get, PutHandler put = {}) {
    members_.push_back({std::move(name), false, std::move(get), std::move(put)});
    return *this;
  }

  const Member* Find(std::string_view name) const {
    for (const Member& m : members_) {
      if (SameText(m.name, name)) return &m;
    }
    return nullptr;
  }
  const std::vector<Member>& Members() const { return members_; }

  Variant Invoke(T& self, std::string_view objectName, std::string_view name, InvokeKind kind,
                 std::span<Variant> args) const;

 private:
  std::vector<Member> members_;
};

[[noreturn]] void RaiseUnknownMember(std::string_view objectName, std::string_view member,
                                     InvokeKind kind);
[[noreturn]] void RaiseWrongKind(std::string_view objectName, std::string_view member,
                                 std::string_view problem);

template <class T>
Variant TDispatchTable<T>::Invoke(T& self, std::string_view objectName, std::string_view name,
                                  InvokeKind kind, std::span<Variant> args) const {
  const Member* m = Find(name);
  if (m == nullptr) RaiseUnknownMember(objectName, name, kind);
  TDispatchArgs callArgs(objectName, m->name, args);
  if (kind == InvokeKind::PropertyPut) {
    if (m->isMethod) RaiseWrongKind(objectName, m->name, "is a method, not a property");
    if (!m->put) RaiseWrongKind(objectName, m->name, "property is read-only");
    if (args.empty()) callArgs.Fail(1, "missing (the value to put)");
    TDispatchArgs indexArgs(objectName, m->name, args.first(args.size() - 1));
    m->put(self, indexArgs, args.back());
    return {};
  }
  return m->call(self, callArgs);
}

// An automation object whose members are the table T::DispatchTable() returns, built once
// per class. T derives from TDispatchObject<T> (CRTP) and supplies DispatchName().
template <class T>
class TDispatchObject : public TDispatchBase {
 public:
  Variant Invoke(std::string_view member, InvokeKind kind, std::span<Variant> args) override {
    std::string name = DispatchName();
    return T::DispatchTable().Invoke(static_cast<T&>(*this), name, member, kind, args);
  }
};

// A new object held by a Variant (which takes the first reference).
template <class T, class... A>
Variant MakeDispatch(A&&... args) {
  return Variant(static_cast<IDispatchObject*>(new T(std::forward<A>(args)...)));
}

}  // namespace nv

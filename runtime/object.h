#pragma once
// The object model: intrusive reference counting and class records.
//
// Every runtime object carries its own count, so a reference can be taken
// from a plain pointer anywhere (an event handler receives `this`), and
// `Ref<T>` releases on every path, the exception path included.

#include "exceptions.h"

#include <cstddef>
#include <functional>
#include <string>
#include <utility>
#include <vector>

struct ClassRecord;

class Object {
  public:
    Object();
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;
    virtual ~Object();

    void AddRef() const noexcept { ++refCount_; }
    void Release() const noexcept {
        if (--refCount_ == 0)
            delete this;
    }
    long RefCount() const noexcept { return refCount_; }

    // The record of the object's most derived class.
    virtual const ClassRecord& Record() const;
    static const ClassRecord& ClassInfo();

    // How many runtime objects are alive: lets tests see that every path
    // released what it took.
    static long LiveObjects() noexcept;
    // The live objects that are instances of `record`'s class or of a class
    // derived from it: lets tests see who is still alive, and what holds it.
    static std::vector<const Object*> LiveInstancesOf(const ClassRecord& record);

  private:
    mutable long refCount_ = 0;
};

template <class T> class Ref {
  public:
    Ref() noexcept = default;
    Ref(std::nullptr_t) noexcept {}
    Ref(T* p) noexcept : p_(p) {
        if (p_)
            p_->AddRef();
    }
    Ref(const Ref& o) noexcept : Ref(o.p_) {}
    Ref(Ref&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    template <class U> Ref(const Ref<U>& o) noexcept : Ref(static_cast<T*>(o.get())) {}
    ~Ref() {
        if (p_)
            p_->Release();
    }
    Ref& operator=(Ref o) noexcept {
        std::swap(p_, o.p_);
        return *this;
    }

    T* get() const noexcept { return p_; }
    T* operator->() const noexcept { return p_; }
    T& operator*() const noexcept { return *p_; }
    explicit operator bool() const noexcept { return p_ != nullptr; }
    friend bool operator==(const Ref& a, const Ref& b) noexcept { return a.p_ == b.p_; }

  private:
    T* p_ = nullptr;
};

// One member of a class's method table, for the runtime's introspection.
struct MethodInfo {
    std::string name;
    std::vector<std::string> parameters; // class names of the parameters
    std::string result;                  // class name of the result, empty for none
    std::string attributes;              // e.g. "Hidden"
    std::function<void(Object&)> invoke; // calls a member without arguments, when it has none
};

// What the runtime knows of a class: its name, its parent, the events it
// implements itself, and its methods.
struct ClassRecord {
    std::string name;
    const ClassRecord* parent = nullptr;
    std::vector<std::string> events;
    std::vector<MethodInfo> methods;

    bool IsA(const ClassRecord& other) const noexcept;
    bool ImplementsEvent(const std::string& event) const noexcept;
    const MethodInfo* FindMethod(const std::string& member) const noexcept;
};

// Makes a class known to the runtime by its name; the record must outlive the
// run (a function-local static does).
void RuntimeRegisterClass(const ClassRecord& record);
// Keeps `record` for the rest of the run and registers it; returns the kept
// record. For a class whose record is built once, on first use.
const ClassRecord& RuntimeKeepClass(ClassRecord record);
// The record registered under `name`, or nullptr.
const ClassRecord* RuntimeFindClass(const std::string& name);

// A new object of class T. No `Constructor` operation runs: the runtime only
// prepares the object, as creation does for every runtime class.
template <class T, class... Args> Ref<T> RuntimeNewObject(Args&&... args) {
    return Ref<T>(new T(std::forward<Args>(args)...));
}

// The object as a T when it is an instance of T's class or of a class derived
// from it. A nil reference passes through as nil: the check is about classes,
// and a caller that needs an object tests for nil itself. Any other class
// raises IllegalCastException.
template <class T> Ref<T> RuntimeCheckCast(const Ref<Object>& object) {
    if (!object)
        return nullptr;
    if (!object->Record().IsA(T::ClassInfo()))
        throw IllegalCastException("cannot cast " + object->Record().name + " to " +
                                   T::ClassInfo().name);
    return Ref<T>(dynamic_cast<T*>(object.get()));
}

// Whether the class named `className` implements `eventName` itself. The
// user flag selects the question about the program's own class, which is the
// only one this runtime answers; the object is not consulted.
bool RuntimeIsEventHandled(const Object* object, const std::string& className,
                           const std::string& eventName, bool userFlag);

// Declares the record accessors of a runtime class.
#define TAMZEL_CLASS_RECORD()                                                                      \
    static const ClassRecord& ClassInfo();                                                         \
    const ClassRecord& Record() const override {                                                   \
        return ClassInfo();                                                                        \
    }

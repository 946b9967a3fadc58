#pragma once
// Delegates: a method over a target object, or a bare function.

#include "object.h"

#include <cstdint>
#include <functional>

class RectControl;
class DragItem;

// What an event hands its handler: the control that raised it and, for a
// drop, the dropped items and an integer.
struct EventArgs {
    RectControl* sender = nullptr;
    DragItem* dragItem = nullptr;
    std::int64_t integer = 0;
};

class Delegate : public Object {
  public:
    using Function = std::function<void(const EventArgs&)>;
    explicit Delegate(Function f) : function_(std::move(f)) {}
    void Invoke(const EventArgs& args) const { function_(args); }
    TAMZEL_CLASS_RECORD()

  private:
    Function function_;
};

// A delegate whose function is a handler method of `target` taking the
// control that raised the event. The call goes through the virtual table, so
// a subclass that replaces the handler gets its own called. The delegate does
// not keep its target alive: the target (a window) owns the control that
// holds the delegate.
template <class T, class C> Ref<Delegate> RuntimeCreateDelegate(T* target, void (T::*method)(C*)) {
    return RuntimeNewObject<Delegate>(
        [target, method](const EventArgs& a) { (target->*method)(dynamic_cast<C*>(a.sender)); });
}

template <class T, class C>
Ref<Delegate> RuntimeCreateDelegate(T* target, void (T::*method)(C*, DragItem*, std::int64_t)) {
    return RuntimeNewObject<Delegate>([target, method](const EventArgs& a) {
        (target->*method)(dynamic_cast<C*>(a.sender), a.dragItem, a.integer);
    });
}

// A Boolean method without arguments, as a bare function over any object of
// its class: the runtime decides which object it runs on.
class MethodDelegate : public Object {
  public:
    using Function = std::function<bool(Object&)>;
    explicit MethodDelegate(Object* target, Function f)
        : target_(target), function_(std::move(f)) {}
    const Function& BareFunction() const { return function_; }
    Object* Target() const { return target_; }
    TAMZEL_CLASS_RECORD()

  private:
    Object* target_;
    Function function_;
};

template <class T> Ref<MethodDelegate> RuntimeCreateDelegate(T* target, bool (T::*method)()) {
    return RuntimeNewObject<MethodDelegate>(
        target, [method](Object& o) { return (dynamic_cast<T&>(o).*method)(); });
}

#pragma once
// The runtime's exception hierarchy. Every error the runtime raises is one of
// these; the program never catches them itself, so they travel up to the
// runtime, which reports what nobody handled (see process.h).

#include <stdexcept>
#include <string>

class RuntimeException : public std::runtime_error {
  public:
    explicit RuntimeException(const std::string& message) : std::runtime_error(message) {}
    // The class name as the runtime reports it, e.g. "NilObjectException".
    virtual const char* ClassName() const noexcept { return "RuntimeException"; }
};

#define TAMZEL_RUNTIME_EXCEPTION(Name)                                                             \
    class Name : public RuntimeException {                                                         \
      public:                                                                                      \
        explicit Name(const std::string& message = #Name) : RuntimeException(message) {}           \
        const char* ClassName() const noexcept override { return #Name; }                          \
    };

TAMZEL_RUNTIME_EXCEPTION(NilObjectException)
TAMZEL_RUNTIME_EXCEPTION(IllegalCastException)
TAMZEL_RUNTIME_EXCEPTION(ThreadAccessingUIException)
TAMZEL_RUNTIME_EXCEPTION(OutOfBoundsException)
TAMZEL_RUNTIME_EXCEPTION(UnsupportedOperationException)

#undef TAMZEL_RUNTIME_EXCEPTION

// Raises NilObjectException naming what was nil.
[[noreturn]] void RaiseNilObjectException(const std::string& what);

// Raises NilObjectException when `p` is nil; returns `p` otherwise.
template <class P> P RequireObject(P p, const char* what) {
    if (!p)
        RaiseNilObjectException(what);
    return p;
}

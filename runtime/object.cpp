#include "object.h"

#include <atomic>
#include <map>

namespace {
std::atomic<long> liveObjects{0};

std::map<std::string, const ClassRecord*>& ClassRegistry() {
    static auto* registry = new std::map<std::string, const ClassRecord*>;
    return *registry;
}
} // namespace

Object::Object() {
    ++liveObjects;
}
Object::~Object() {
    --liveObjects;
}
long Object::LiveObjects() noexcept {
    return liveObjects;
}

const ClassRecord& Object::ClassInfo() {
    static const ClassRecord& record = RuntimeKeepClass(ClassRecord{"Object", nullptr, {}, {}});
    return record;
}
const ClassRecord& Object::Record() const {
    return ClassInfo();
}

bool ClassRecord::IsA(const ClassRecord& other) const noexcept {
    for (const ClassRecord* r = this; r; r = r->parent)
        if (r == &other || r->name == other.name)
            return true;
    return false;
}

bool ClassRecord::ImplementsEvent(const std::string& event) const noexcept {
    for (const auto& e : events)
        if (e == event)
            return true;
    return false;
}

const MethodInfo* ClassRecord::FindMethod(const std::string& member) const noexcept {
    for (const ClassRecord* r = this; r; r = r->parent)
        for (const auto& m : r->methods)
            if (m.name == member)
                return &m;
    return nullptr;
}

void RuntimeRegisterClass(const ClassRecord& record) {
    ClassRegistry()[record.name] = &record;
}

const ClassRecord& RuntimeKeepClass(ClassRecord record) {
    const ClassRecord* kept = new ClassRecord(std::move(record));
    RuntimeRegisterClass(*kept);
    return *kept;
}

const ClassRecord* RuntimeFindClass(const std::string& name) {
    auto it = ClassRegistry().find(name);
    return it == ClassRegistry().end() ? nullptr : it->second;
}

bool RuntimeIsEventHandled(const Object*, const std::string& className,
                           const std::string& eventName, bool userFlag) {
    if (!userFlag)
        return false;
    const ClassRecord* record = RuntimeFindClass(className);
    return record && record->ImplementsEvent(eventName);
}

void RaiseNilObjectException(const std::string& what) {
    throw NilObjectException("nil object: " + what);
}

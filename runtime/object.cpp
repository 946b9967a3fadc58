#include "object.h"

#include <map>
#include <mutex>
#include <set>

namespace {
// Every live object, so that tests can see which are alive; objects may
// end on another thread (a sound that plays on), hence the lock.
struct LiveSet {
    std::mutex lock;
    std::set<const Object*> objects;
};
LiveSet& Live() {
    static auto* live = new LiveSet;
    return *live;
}

std::map<std::string, const ClassRecord*>& ClassRegistry() {
    static auto* registry = new std::map<std::string, const ClassRecord*>;
    return *registry;
}
} // namespace

Object::Object() {
    std::lock_guard<std::mutex> guard(Live().lock);
    Live().objects.insert(this);
}
Object::~Object() {
    std::lock_guard<std::mutex> guard(Live().lock);
    Live().objects.erase(this);
}
long Object::LiveObjects() noexcept {
    std::lock_guard<std::mutex> guard(Live().lock);
    return static_cast<long>(Live().objects.size());
}
std::vector<const Object*> Object::LiveInstancesOf(const ClassRecord& record) {
    std::lock_guard<std::mutex> guard(Live().lock);
    std::vector<const Object*> found;
    for (const Object* o : Live().objects)
        if (o->Record().IsA(record))
            found.push_back(o);
    return found;
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

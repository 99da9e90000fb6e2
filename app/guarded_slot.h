#pragma once
// Slots that cannot throw into Qt's event loop: Qt does not carry an
// exception through its own code, so one leaving a slot (a bad_alloc on a
// large list) would end the program. `guarded` wraps a member slot for
// connect(); what it throws is shown in the "Error" box instead.

#include <exception>
#include <new>
#include <utility>

namespace zmr::gui {

// Shows the problem in the "Error" box, or on standard error when even the
// box cannot be made.
void reportSlotFailure(const char* what) noexcept;

template <class Work>
void runGuarded(Work&& work) noexcept {
    try {
        std::forward<Work>(work)();
    } catch (const std::bad_alloc&) {
        reportSlotFailure("not enough memory for this command");
    } catch (const std::exception& e) {
        reportSlotFailure(e.what());
    } catch (...) {
        reportSlotFailure("an unexpected failure ended this command");
    }
}

template <class Object, class... Args>
auto guarded(Object* object, void (Object::*slot)(Args...)) {
    return [object, slot](Args... args) { runGuarded([&] { (object->*slot)(args...); }); };
}

}  // namespace zmr::gui

// SPDX-License-Identifier: GPL-3.0-or-later
// The landing-pad glue of native WebAssembly exceptions for the threaded
// build, in place of the one of emscripten 3.1.6's libunwind (Unwind-wasm.c)
// and of libc++abi's per-thread exception globals
// (cxa_exception_storage.cpp).
//
// A landing pad with a typed catch stores its index and its LSDA in a context
// record, calls _Unwind_CallPersonality and reads back the selector that the
// personality function wrote there. That libunwind keeps the record per
// thread (thread_local), while clang 14's landing pads address it as one
// plain global: under -pthread the two disagree, the personality function
// reads and writes another record than the pad, and every exception reaches
// the catch-all instead of its typed catch.
//
// Here the record is the plain global that the pads address, and a thread
// holds it alone from the moment it throws until its exception is caught:
// _Unwind_RaiseException, through which every throw and rethrow goes, takes a
// process-wide lock; __cxa_begin_catch, which every handler (typed or
// catch-all) calls first, gives it back through its call of
// __cxa_get_globals, defined here for that. (The linker's --wrap would be the
// plain way to hook __cxa_begin_catch; this wasm-ld crashes on it.)
// __cxa_throw and __cxa_rethrow call __cxa_get_globals too, before they
// raise, when the thread holds no lock, except for an exception thrown inside
// a destructor that runs while another one unwinds: the outer one then goes
// on without the lock. The engine's destructors do not throw. Errors are
// rare in the engine, so the lock costs nothing that matters.
#ifdef __wasm_exception_handling__

#include <sched.h>
#include <unwind.h>

#include <atomic>
#include <cstdint>

extern "C" {

_Unwind_Reason_Code __gxx_personality_wasm0(int version, _Unwind_Action actions, std::uint64_t exception_class,
                                            _Unwind_Exception* exception_object, _Unwind_Context* context);

struct _Unwind_LandingPadContext {
    // Written by the landing pad, read by the personality function.
    std::uintptr_t lpad_index;
    std::uintptr_t lsda;
    // Written by the personality function, read by the landing pad.
    std::uintptr_t selector;
};

_Unwind_LandingPadContext __wasm_lpad_context;

// libc++abi's per-thread record of caught and uncaught exceptions, laid out
// as its cxa_exception.h has it.
struct __cxa_eh_globals {
    void* caught_exceptions;
    unsigned int uncaught_exceptions;
};

}  // extern "C"

namespace {
std::atomic_flag unwind_busy = ATOMIC_FLAG_INIT;
thread_local bool unwinding = false;
thread_local __cxa_eh_globals eh_globals{};

void take_unwind_lock() {
    while (unwind_busy.test_and_set(std::memory_order_acquire)) sched_yield();
    unwinding = true;
}

void give_unwind_lock() {
    if (!unwinding) return;
    unwinding = false;
    unwind_busy.clear(std::memory_order_release);
}
}  // namespace

extern "C" {

__cxa_eh_globals* __cxa_get_globals_fast() noexcept { return &eh_globals; }

// Called by __cxa_begin_catch, __cxa_throw and __cxa_rethrow.
__cxa_eh_globals* __cxa_get_globals() noexcept {
    give_unwind_lock();
    return &eh_globals;
}

_Unwind_Reason_Code _Unwind_CallPersonality(void* exception_ptr) {
    auto* exception_object = static_cast<_Unwind_Exception*>(exception_ptr);
    __wasm_lpad_context.selector = 0;
    // WebAssembly has no search phase: the cleanup phase alone.
    return __gxx_personality_wasm0(1, _UA_CLEANUP_PHASE, exception_object->exception_class, exception_object,
                                   reinterpret_cast<_Unwind_Context*>(&__wasm_lpad_context));
}

_Unwind_Reason_Code _Unwind_RaiseException(_Unwind_Exception* exception_object) {
    if (!unwinding) take_unwind_lock();
    __builtin_wasm_throw(0, exception_object);
}

void _Unwind_DeleteException(_Unwind_Exception* exception_object) {
    if (exception_object->exception_cleanup != nullptr)
        exception_object->exception_cleanup(_URC_FOREIGN_EXCEPTION_CAUGHT, exception_object);
}

// The personality function sets the selector, register 1, and nothing else.
void _Unwind_SetGR(_Unwind_Context* context, int index, _Unwind_Word value) {
    if (index != 1) return;
    reinterpret_cast<_Unwind_LandingPadContext*>(context)->selector = value;
}

// The personality function uses this, less one, as a 1-based index.
_Unwind_Word _Unwind_GetIP(_Unwind_Context* context) {
    return reinterpret_cast<_Unwind_LandingPadContext*>(context)->lpad_index + 2;
}

void _Unwind_SetIP(_Unwind_Context*, _Unwind_Word) {}

void* _Unwind_GetLanguageSpecificData(_Unwind_Context* context) {
    return reinterpret_cast<void*>(reinterpret_cast<_Unwind_LandingPadContext*>(context)->lsda);
}

_Unwind_Ptr _Unwind_GetRegionStart(_Unwind_Context*) { return 0; }

}  // extern "C"

#endif

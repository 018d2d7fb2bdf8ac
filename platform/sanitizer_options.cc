// Defaults of the sanitizer runtimes, compiled into every program of a sanitizer build.
// ThreadSanitizer, in its own build, stops at the first data race.
//
// A report must end the process with a signal, not with exit status 1: the converter itself exits
// with 1 for a damaged file, so a test that expects 1 would otherwise pass over a memory error in
// the program it runs. Leak detection stays on. ASAN_OPTIONS and UBSAN_OPTIONS still override.

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KEGVERTER_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define KEGVERTER_ASAN 1
#endif

#if defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define KEGVERTER_TSAN 1
#endif
#endif
#if defined(__SANITIZE_THREAD__)
#define KEGVERTER_TSAN 1
#endif

#if defined(KEGVERTER_ASAN)

extern "C" {

// The runtimes look these up by name; they must have C linkage and default visibility.
__attribute__((visibility("default"), used)) const char* __asan_default_options() {
  return "abort_on_error=1:detect_leaks=1:strict_string_checks=1:"
         "detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1";
}

__attribute__((visibility("default"), used)) const char* __ubsan_default_options() {
  return "print_stacktrace=1:halt_on_error=1:abort_on_error=1";
}

}  // extern "C"

#endif

#if defined(KEGVERTER_TSAN)

extern "C" {

// A data race aborts at its first report instead of exiting with 66 at the end.
__attribute__((visibility("default"), used)) const char* __tsan_default_options() {
  return "halt_on_error=1:abort_on_error=1:second_deadlock_stack=1";
}

}  // extern "C"

#endif

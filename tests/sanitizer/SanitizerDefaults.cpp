// Built into every test program of a sanitizer build (KB_SANITIZE), so a
// test run the same way from ctest, by hand or as another user (the
// unprivileged runs cannot read a suppressions file in root's clone).

extern "C" {

// A finding of UndefinedBehaviorSanitizer fails the test that met it.
const char* __ubsan_default_options() { return "print_stacktrace=1:halt_on_error=1"; }

// Memory the libraries under us keep until the process ends, each entry as
// narrow as the leak it names.
const char* __lsan_default_suppressions() {
  return "";
}

}

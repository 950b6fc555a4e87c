// The sanitized programs' own defaults. The calendar's rules are tried on chosen days with a
// clock shim preloaded ahead of every library (faketime): the address sanitizer must accept
// a library that comes before its runtime instead of refusing to start.
extern "C" __attribute__((used, visibility("default"))) const char* __asan_default_options() {
    return "verify_asan_link_order=0";
}

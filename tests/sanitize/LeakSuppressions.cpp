// Allocations the leak checker of the sanitizer build must not count as ours: fontconfig keeps the
// font patterns cairo's text drawing asked for in caches it never frees before the process ends.
// Compiled into each test executable (a static library would drop this unreferenced symbol).
extern "C" const char* __lsan_default_suppressions();
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}

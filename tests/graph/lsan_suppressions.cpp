// Fontconfig 2.14 loses a few hundred bytes while parsing its XML
// configuration, once per process, when the graph font is first looked up;
// the leak checker of sanitizer builds would fail the suite for it. Only
// leaks allocated inside fontconfig itself are silenced.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

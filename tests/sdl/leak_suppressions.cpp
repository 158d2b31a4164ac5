// What the leak checker must not report in the native tests: window records
// live for the whole process by design (a closed window's record stays valid),
// and the GL driver, D-Bus and Xlib that SDL loads keep memory of their own
// until exit.
extern "C" const char *__lsan_default_suppressions(void) {
    return "leak:window_add\n"
           "leak:libEGL\n"
           "leak:libGLX\n"
           "leak:libGLdispatch\n"
           "leak:_dri.so\n"
           "leak:libgallium\n"
           "leak:libLLVM\n"
           "leak:libdbus-1\n"
           "leak:libX11\n";
}

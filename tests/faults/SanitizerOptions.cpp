// AddressSanitizer wants its runtime first among the libraries; here libfiu's
// preload library comes first, which does it no harm.
extern "C" const char* __asan_default_options() {
    return "verify_asan_link_order=0";
}

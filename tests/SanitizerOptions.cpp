// Defaults of the sanitizer build of the tests, read by the sanitizer runtime
// at start-up.
extern "C" {

// The out-of-memory tests need malloc to refuse, not the run to end.
const char* __asan_default_options()
{
    return "allocator_may_return_null=1";
}

// glibc keeps the path list of a locale loaded through LOCPATH for the rest
// of the process (the separator tests load one).
const char* __lsan_default_suppressions()
{
    return "leak:__argz_add_sep\n";
}

}

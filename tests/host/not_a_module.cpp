// not_a_module.cpp: a shared library without the module entry points, which the host must
// refuse and report without stopping.
extern "C" __attribute__((visibility("default"))) int LortanTestNothing() { return 0; }

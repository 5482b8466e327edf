// A library of the right name that lacks the export RunVantor.
extern "C" __attribute__((visibility("default"))) int NotRunVantor(void) { return 0; }

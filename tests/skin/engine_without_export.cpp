// A loadable library under the engine's name that lacks the export the program binds.
extern "C" __attribute__((visibility("default"))) int SkinH_DetachRes(void) { return 0; }

// A stand-in suite library with one plain C entry point, as the suite's libraries offer them.
extern "C" __attribute__((visibility("default"))) int NvTestPluginAnswer() {
  return 42;
}

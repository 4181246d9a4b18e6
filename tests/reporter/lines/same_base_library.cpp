// A library built twice under two names with one preferred base, so that the second one loads
// where the first one was. Each build names its procedure after itself.
extern "C" __declspec(dllexport) __attribute__((noipa)) int SAME_BASE_PROCEDURE(int value) {
    return value * 3 + 1;
}

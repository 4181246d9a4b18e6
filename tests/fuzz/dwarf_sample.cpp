// A small image for the build step's fuzz target: a class with a method, a namespace, an
// inlined call and code in two ranges, linked without the C runtime so that it stays small.
namespace sample {

struct Counter {
    int n;
    int Step(int by);
};

int Counter::Step(int by) {
    n += by;
    return n;
}

static inline int Twice(int value) {
    return value * 2;
}

} // namespace sample

extern "C" int start(void) {
    sample::Counter counter{1};
    return sample::Twice(counter.Step(2));
}

#pragma once

#include <memory>

namespace movrane {

// One process-wide instance of T, created on first use and kept until exit. Tests
// replace or drop it so the next use starts afresh on their own store.
template <class T>
class Singleton {
public:
    static T& instance() {
        if (!slot()) slot() = std::make_unique<T>();
        return *slot();
    }
    static void replace(std::unique_ptr<T> instance) { slot() = std::move(instance); }
    static void reset() { slot().reset(); }

private:
    static std::unique_ptr<T>& slot() {
        static std::unique_ptr<T> held;
        return held;
    }
};

}  // namespace movrane

// Lets every test file of a folder add its QtTest class to the folder's one test executable.
#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <vector>

namespace TestRegistry {

using Factory = std::function<std::unique_ptr<QObject>()>;

inline std::vector<Factory>& Factories() {
    static std::vector<Factory> factories;
    return factories;
}

template <typename T> struct Registrar {
    Registrar() { Factories().push_back([] { return std::make_unique<T>(); }); }
};

} // namespace TestRegistry

// Registers a QtTest class with the executable's main (put after the class in its .cpp file).
#define EVO_REGISTER_TEST(Class) static const TestRegistry::Registrar<Class> registrar_##Class;

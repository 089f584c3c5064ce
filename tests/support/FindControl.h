// A window's control found by its object name, as the tests reach controls that are private to the
// window; a missing control fails the test at once.
#pragma once

#include <QObject>
#include <QString>
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

template <typename T> T& control(const QObject& window, const char* name)
{
    T* found = window.findChild<T*>(QString::fromLatin1(name));
    if (found == nullptr) {
        ADD_FAILURE() << "no control named " << name;
        throw std::runtime_error(std::string("no control named ") + name);
    }
    return *found;
}

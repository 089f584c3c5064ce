// Stable object names for a window's controls, by which tests and tools find the controls that the
// window keeps private.
#pragma once

#include <QObject>
#include <QString>

#include <initializer_list>
#include <utility>

inline void giveObjectNames(std::initializer_list<std::pair<QObject*, const char*>> controls)
{
    for (auto [control, name] : controls) {
        control->setObjectName(QString::fromLatin1(name));
    }
}

// How a long image operation shows its progress in the editor's status bar.
#pragma once

#include <functional>

struct StatusProgress {
    // P: the width of the status bar's first panel, which the bar's geometry is measured in.
    int panelWidth = 0;
    // ShowProgress(offset, length); empty when nobody watches.
    std::function<void(int offset, int length)> show;

    void operator()(int offset, int length) const
    {
        if (show) {
            show(offset, length);
        }
    }
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLayout>
#include <QWidget>

// A dialog grows, never shrinks, to hold a text that came up in it (a reason of several lines):
// its fields would otherwise be squeezed below their height.
inline void GrowToFit(QWidget *dialog)
{
    QLayout *layout = dialog->layout();
    if (!layout || !dialog->isVisible())
        return;
    layout->activate();
    const int needed = layout->hasHeightForWidth() ? layout->totalHeightForWidth(dialog->width())
                                                   : layout->totalSizeHint().height();
    if (dialog->height() < needed)
        dialog->resize(dialog->width(), needed);
}

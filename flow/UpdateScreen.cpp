#include "UpdateScreen.h"

#include <algorithm>

void UpdateScreen::showFailure(const QString& why)
{
    choicesOn = false;
    resultShown = true;
    if (!why.isEmpty())
        reason = why;
    exitVisible = true;
    retryVisible = true;
}

void UpdateScreen::close()
{
    resultShown = false;
    reason.clear();
    retryVisible = false;
    exitVisible = false;
    startVisible = false;
    choicesOn = false;
    lineShown = false;
    noticeVisible = false;
    notice = Notice::Warning;
}

void UpdateScreen::leaveChoices()
{
    choicesOn = false;
    startVisible = false;
    exitVisible = false;
}

void UpdateScreen::showProgress(bool asText, int value, const QString& progressMode,
                                const QString& text)
{
    if (asText) {
        line = Line::Progress;
        lineDetail = text;
    } else {
        percent = std::clamp(value, 0, 100);
        mode = progressMode;
        progressVisible = true;
        lineShown = false;
    }
}

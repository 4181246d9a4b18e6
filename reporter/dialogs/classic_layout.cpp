#include "reporter/dialogs/classic_layout.h"
#include <algorithm>

namespace {

constexpr int kLeft = 8;
constexpr int kRight = 405;
constexpr int kHeaderWidth = 356;
constexpr int kTextWidth = 397;
constexpr int kMessageTop = 59;
constexpr int kButtonGap = 6;
constexpr int kMinimumButtonWidth = 75;
constexpr int kBottomMargin = 10;

RECT Row(int top, int width, int height) {
    return {kLeft, top, kLeft + width, top + height};
}

} // namespace

TClassicLayout LayOutClassic(const TClassicRows& rows, const TClassicMeasures& m) {
    TClassicLayout l;
    const int headerTop = std::max(0, (kClassicBandHeight - m.Header) / 2);
    l.Header = Row(headerTop, kHeaderWidth, m.Header);
    l.Message = Row(kMessageTop, kTextWidth, m.Message);
    int y = l.Message.bottom;
    if (rows.Terminate) {
        l.Terminate = Row(y + 10, kTextWidth, m.Terminate);
        y = l.Terminate.bottom;
    }
    if (rows.SendTexts) {
        l.TellUs = Row(y + 10, kTextWidth, m.TellUs);
        l.ReportCreated = Row(l.TellUs.bottom + 2, kTextWidth, m.ReportCreated);
        y = l.ReportCreated.bottom;
    }
    if (rows.Link) {
        l.SeeData = Row(y + 12, m.SeeDataWidth, m.SeeData);
        l.Link = {l.SeeData.right, l.SeeData.top, l.SeeData.right + m.LinkWidth, l.SeeData.bottom};
        y = l.SeeData.bottom;
    }
    if (rows.Reproduce) {
        l.WhatDoing = Row(y + 12, kTextWidth, m.WhatDoing);
        l.Reproduce = Row(l.WhatDoing.bottom + 2, kTextWidth, 4 * m.FixedLine + 8);
        y = l.Reproduce.bottom;
    }
    if (rows.Email) {
        l.EmailLabel = Row(y + 12, m.EmailLabelWidth, m.EmailLabel);
        const int boxHeight = m.EmailLabel + 8;
        l.Email = {l.EmailLabel.right, l.EmailLabel.top - 4, kRight,
                   l.EmailLabel.top - 4 + boxHeight};
        y = std::max(l.EmailLabel.bottom, l.Email.bottom);
    }
    const int top = y + 12, bottom = top + m.ButtonHeight;
    l.Help = {kLeft, top, kLeft + m.HelpWidth, bottom};
    l.DontSend = {kRight - m.DontSendWidth, top, kRight, bottom};
    l.Send = {l.DontSend.left - kButtonGap - m.SendWidth, top, l.DontSend.left - kButtonGap,
              bottom};
    l.ClientHeight = bottom + kBottomMargin;
    return l;
}

int ClassicButtonWidth(int captionWidth) {
    return std::max(kMinimumButtonWidth, captionWidth + 4 * GetSystemMetrics(SM_CXBORDER) + 16);
}

bool IsAcceptableEmail(const std::string& address) {
    return address.find('@') != std::string::npos && address.find('.') != std::string::npos;
}

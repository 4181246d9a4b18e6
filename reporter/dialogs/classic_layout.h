// The arithmetic of the classic error-report dialog's layout, apart from its windows: the rows
// it shows, top to bottom, each placed below the one before from the measured sizes.
#pragma once
#include <string>
#include <windows.h>

// The rows shown; the header, the message and the buttons always are.
struct TClassicRows {
    bool Terminate = false;
    bool SendTexts = false; // "Please tell us…" and "We have created…"
    bool Link = false;      // "To see what data…" and the link to the detailed dialog
    bool Reproduce = false;
    bool Email = false;
    bool Help = false;
    bool Send = false;
};

// Heights (and the widths of one-line texts) measured in the dialog's fonts.
struct TClassicMeasures {
    int Header = 0, Message = 0, Terminate = 0, TellUs = 0, ReportCreated = 0;
    int SeeData = 0, SeeDataWidth = 0, LinkWidth = 0;
    int WhatDoing = 0, FixedLine = 0;
    int EmailLabel = 0, EmailLabelWidth = 0;
    int ButtonHeight = 0, SendWidth = 0, DontSendWidth = 0, HelpWidth = 0;
};

struct TClassicLayout {
    RECT Header{}, Message{}, Terminate{}, TellUs{}, ReportCreated{}, SeeData{}, Link{};
    RECT WhatDoing{}, Reproduce{}, EmailLabel{}, Email{}, Help{}, Send{}, DontSend{};
    int ClientHeight = 0;
};

// The white band at the top, with the picture at its right.
constexpr int kClassicBandWidth = 413, kClassicBandHeight = 51;
constexpr int kClassicPictureLeft = 372, kClassicPictureTop = 9;
// The window's outer width.
constexpr int kClassicWindowWidth = 419;

TClassicLayout LayOutClassic(const TClassicRows& rows, const TClassicMeasures& m);

// A button's width for its caption's width (without "&"): the borders and a margin, at least 75.
int ClassicButtonWidth(int captionWidth);
// Whether the address typed into the e-mail box may be kept: it has an "@" and a ".".
bool IsAcceptableEmail(const std::string& address);

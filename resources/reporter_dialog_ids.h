// Template, control and bitmap names of the crash reporter's dialogs, shared by their resource
// script and their code. Templates and bitmaps are named resources; the numbers are control ids.
#pragma once

// The detailed exception dialog.
#define IDC_KF_MESSAGE 101
#define IDC_KF_OK 102
#define IDC_KF_TERMINATE 103
#define IDC_KF_DETAILS 104
#define IDC_KF_HELP 105
#define IDC_KF_TABS 1000
#define IDC_KF_LINE 2000
#define IDC_KF_SEND 3000
#define IDC_KF_SCREENSHOT 4000
#define IDC_KF_COPY 5000

// Every page of the detailed dialog: its information line and what shows the section.
#define IDC_KF_PAGE_TITLE 102
#define IDC_KF_PAGE_VIEW 103

// The classic error-report dialog.
#define IDC_MS_HEADER 102
#define IDC_MS_MESSAGE 103
#define IDC_MS_TERMINATE 104
#define IDC_MS_TELL_US 105
#define IDC_MS_REPORT_CREATED 106
#define IDC_MS_SEE_DATA 107
#define IDC_MS_WHAT_DOING 108
#define IDC_MS_REPRODUCE 109
#define IDC_MS_EMAIL_LABEL 110
#define IDC_MS_EMAIL 111
#define IDC_MS_SEND 1000
#define IDC_MS_DONT_SEND 1001
#define IDC_MS_HELP 1002

// The reproduce request. Its OK button has the id of the close box (IDCANCEL): both end it alike.
#define IDC_REQUEST_OK 2
#define IDC_REQUEST_LABEL 100
#define IDC_REQUEST_TEXT 101

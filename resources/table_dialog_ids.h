// Template and control ids of the table layer's dialogs, shared by their resource script and
// their code.
#pragma once

#define IDD_PASSWORD 100
#define IDC_PASSWORD_GROUP 101
#define IDC_PASSWORD_EDIT 102
#define IDC_PASSWORD_ADD 103
#define IDC_PASSWORD_REMOVE 104
#define IDC_PASSWORD_REMOVE_ALL 105

#define IDD_LOGIN 200
#define IDC_LOGIN_PANEL 201
#define IDC_LOGIN_DATABASE_LABEL 202
#define IDC_LOGIN_DATABASE 203
#define IDC_LOGIN_USER_LABEL 204
#define IDC_LOGIN_USER 205
#define IDC_LOGIN_PASSWORD_LABEL 206
#define IDC_LOGIN_PASSWORD 207

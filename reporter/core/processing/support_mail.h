// One file mailed through the user's mail client (Simple MAPI), for the crash reporter's own
// failures: nothing else is needed of the client there.
#pragma once
#include <string>

// Mails `file` as an attachment to `recipient`; true when the client took the message or the
// user cancelled it there.
bool SendFileByMapi(const std::string& recipient, const std::string& subject,
                    const std::string& body, const std::string& file);

#include "reporter/core/processing/support_mail.h"
#include "reporter/base/path_names.h"
#include <windows.h>
// After windows.h, which it needs.
#include <mapi.h>

namespace {

constexpr ULONG kNoPosition = ULONG(-1);

// Loaded for the one call: a program that never mails does not load the client.
class TMapiLibrary {
  public:
    TMapiLibrary() : module_(LoadLibraryA("MAPI32.DLL")) {}
    ~TMapiLibrary() {
        if (module_)
            FreeLibrary(module_);
    }
    TMapiLibrary(const TMapiLibrary&) = delete;
    TMapiLibrary& operator=(const TMapiLibrary&) = delete;

    LPMAPISENDMAIL SendMail() const {
        return module_ ? reinterpret_cast<LPMAPISENDMAIL>(
                             reinterpret_cast<void*>(GetProcAddress(module_, "MAPISendMail")))
                       : nullptr;
    }

  private:
    HMODULE module_;
};

// A message with one recipient and one attachment. MAPI takes every text by a pointer to
// writable characters, so the message keeps copies of its own.
class TSupportMessage {
  public:
    TSupportMessage(const std::string& recipient, const std::string& subject,
                    const std::string& body, const std::string& file)
        : name_(recipient), address_("SMTP:" + recipient), path_(file), fileName_(FileNameOf(file)),
          subject_(subject), body_(body) {
        to_.ulRecipClass = MAPI_TO;
        to_.lpszName = name_.data();
        to_.lpszAddress = address_.data();
        attachment_.nPosition = kNoPosition;
        attachment_.lpszPathName = path_.data();
        attachment_.lpszFileName = fileName_.data();
        message_.lpszSubject = subject_.data();
        message_.lpszNoteText = body_.data();
        message_.nRecipCount = 1;
        message_.lpRecips = &to_;
        message_.nFileCount = 1;
        message_.lpFiles = &attachment_;
    }
    TSupportMessage(const TSupportMessage&) = delete;
    TSupportMessage& operator=(const TSupportMessage&) = delete;

    MapiMessage* Message() { return &message_; }

  private:
    std::string name_, address_, path_, fileName_, subject_, body_;
    MapiRecipDesc to_{};
    MapiFileDesc attachment_{};
    MapiMessage message_{};
};

} // namespace

bool SendFileByMapi(const std::string& recipient, const std::string& subject,
                    const std::string& body, const std::string& file) {
    const TMapiLibrary mapi;
    LPMAPISENDMAIL sendMail = mapi.SendMail();
    if (!sendMail)
        return false;
    TSupportMessage message(recipient, subject, body, file);
    const ULONG result = sendMail(0, 0, message.Message(), MAPI_LOGON_UI, 0);
    return result == SUCCESS_SUCCESS || result == MAPI_USER_ABORT;
}

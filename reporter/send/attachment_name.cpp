#include "reporter/send/attachment_name.h"
#include "reporter/base/path_names.h"
#include "reporter/core/options/computer_name.h"
#include "reporter/core/options/option_flags.h"
#include "runtime/format.h"

std::string AttachmentName(const std::string& path, const TAttachmentNaming& naming) {
    const std::string name = FileNameOf(path);
    std::string decoration;
    if ((naming.SendFlags & SendFlag::ComputerNameInFileNames) != 0)
        decoration += "__" + ComputerNameForFileName(naming.ComputerName);
    if ((naming.SendFlags & SendFlag::ExceptionTimeInFileNames) != 0) {
        const SYSTEMTIME& t = naming.ExceptionTime;
        decoration += Format("__%04u%02u%02u%02u%02u%02u", t.wYear, t.wMonth, t.wDay, t.wHour,
                             t.wMinute, t.wSecond);
    }
    return WithExtension(name, "") + decoration + ExtensionOf(name);
}

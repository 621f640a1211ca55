#include "platform/OwnFileRead.h"

#include "platform/RegularFile.h"

#include <cstdio>
#include <unistd.h>

OwnFileRead ReadOwnFile(const std::string& path, const OwnFileRules& rules, std::string& content,
                        std::string& reason)
{
    content.clear();
    reason.clear();
    CRegularFile file;
    FileRules fileRules;
    fileRules.maxBytes = rules.maxBytes;
    fileRules.followLinks = false;
    switch (file.Open(path, fileRules)) {
    case FileCheck::Ok:
        break;
    case FileCheck::Missing:
        return OwnFileRead::Missing;
    case FileCheck::TooLarge:
        // Too large and someone else's: the owner is the reason that counts.
        if (file.Status().st_uid == ::geteuid() || (rules.rootMayOwn && file.Status().st_uid == 0)) {
            reason = file.Reason();
            return OwnFileRead::TooLarge;
        }
        reason = "it belongs to another user";
        return OwnFileRead::Refused;
    case FileCheck::CannotOpen:
    case FileCheck::NotRegular:
        reason = file.Reason();
        return OwnFileRead::Refused;
    }
    const uid_t owner = file.Status().st_uid;
    if (owner != ::geteuid() && !(rules.rootMayOwn && owner == 0)) {
        reason = "it belongs to another user";
        return OwnFileRead::Refused;
    }
    FileCheck read = file.ReadAll(content);
    if (read == FileCheck::Ok)
        return OwnFileRead::Read;
    reason = file.Reason();
    return read == FileCheck::TooLarge ? OwnFileRead::TooLarge : OwnFileRead::Refused;
}

void ReportIgnoredFile(const std::string& path, const std::string& reason)
{
    std::fprintf(stderr, "d390: %s ignored: %s\n", path.c_str(), reason.c_str());
}

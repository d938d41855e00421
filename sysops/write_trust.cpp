#include "sysops/write_trust.h"

#include "base/path_text.h"
#include "sysops/drive_root.h"
#include "sysops/message_box.h"
#include "sysops/module_path.h"

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include <vector>

namespace {

// The rights that let an account put other content under the name: for the file and its own
// folder (where a library's dependencies are looked for) writing, appending, adding entries,
// deleting and rewriting the access list or owner.
constexpr ACCESS_MASK kChangeRights = FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_DELETE_CHILD | DELETE | WRITE_DAC
    | WRITE_OWNER | GENERIC_WRITE | GENERIC_ALL | MAXIMUM_ALLOWED;

// For the folders further up only what replaces an entry on the way counts: deleting or
// renaming one, or rewriting the access list or owner. Adding new entries leaves the way as it
// is, and Windows lets Authenticated Users add folders at the root of C:.
constexpr ACCESS_MASK kReplaceRights = FILE_DELETE_CHILD | DELETE | WRITE_DAC | WRITE_OWNER | GENERIC_ALL
    | MAXIMUM_ALLOWED;

// What lets an account remove what is in a folder: deleting its entries (a folder's Modify
// gives each entry DELETE, Full Control gives the folder FILE_DELETE_CHILD), or rewriting its
// access list to grant that.
constexpr ACCESS_MASK kRemoveRights = kReplaceRights;

// TrustedInstaller's service SID, which has no well-known-SID type.
constexpr const char* kTrustedInstallerSid = "S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464";

// CREATOR OWNER and OWNER RIGHTS stand for the owner, whose own trust is checked.
constexpr WELL_KNOWN_SID_TYPE kTrustedKinds[] = {WinBuiltinAdministratorsSid, WinLocalSystemSid, WinCreatorOwnerSid,
                                                 WinCreatorOwnerRightsSid};

struct TokenSid {
    std::vector<BYTE> bytes;
    [[nodiscard]] PSID Get() const { return bytes.empty() ? nullptr : const_cast<BYTE*>(bytes.data()); }
};

TokenSid OwnAccountSid()
{
    TokenSid sid;
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return sid;
    DWORD size = 0;
    (void)GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<BYTE> buffer(size);
    if (size > 0 && GetTokenInformation(token, TokenUser, buffer.data(), size, &size)) {
        const PSID user = reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid;
        sid.bytes.assign(static_cast<BYTE*>(user), static_cast<BYTE*>(user) + GetLengthSid(user));
    }
    CloseHandle(token);
    return sid;
}

const TokenSid& ProcessAccount()
{
    static const TokenSid account = OwnAccountSid();
    return account;
}

bool IsWellKnown(PSID sid, WELL_KNOWN_SID_TYPE kind)
{
    BYTE buffer[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof buffer;
    return CreateWellKnownSid(kind, nullptr, buffer, &size) && EqualSid(sid, buffer);
}

bool IsTrustedAccount(PSID sid)
{
    if (!sid || !IsValidSid(sid))
        return false;
    for (WELL_KNOWN_SID_TYPE kind : kTrustedKinds) {
        if (IsWellKnown(sid, kind))
            return true;
    }
    if (ProcessAccount().Get() && EqualSid(sid, ProcessAccount().Get()))
        return true;
    PSID installer = nullptr;
    if (!ConvertStringSidToSidA(kTrustedInstallerSid, &installer))
        return false;
    const bool isInstaller = EqualSid(sid, installer);
    LocalFree(installer);
    return isInstaller;
}

std::string AccountName(PSID sid)
{
    char name[256] = {};
    char domain[256] = {};
    DWORD nameSize = sizeof name;
    DWORD domainSize = sizeof domain;
    SID_NAME_USE use;
    if (LookupAccountSidA(nullptr, sid, name, &nameSize, domain, &domainSize, &use))
        return domain[0] ? std::string(domain) + "\\" + name : std::string(name);
    char* text = nullptr;
    if (!ConvertSidToStringSidA(sid, &text))
        return "an unknown account";
    const std::string result = text;
    LocalFree(text);
    return result;
}

// Level 0 is the file, 1 its folder, the rest the folders above.
ACCESS_MASK RightsAt(int level) { return level <= 1 ? kChangeRights : kReplaceRights; }

// The folder above; "C:" is the root's folder part, and the root is checked in its "C:\" form.
std::string ParentOf(const std::string& path)
{
    const std::string folder = GetFolderPart(WithoutTrailingBackslash(path));
    return folder.size() == 2 && folder[1] == ':' ? folder + "\\" : folder;
}

std::string SidText(PSID sid)
{
    char* text = nullptr;
    if (!ConvertSidToStringSidA(sid, &text))
        return {};
    const std::string result = text;
    LocalFree(text);
    return result;
}

// Every untrusted account that owns the path or may change it, in the order of its owner and
// its access list. Unreadable counts as changeable by an unknown account.
PathChangers ChangersOfPath(const std::string& path, ACCESS_MASK rights)
{
    PathChangers changers;
    PSID owner = nullptr;
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoA(path.c_str(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                              &owner, nullptr, &dacl, nullptr, &descriptor)
        != ERROR_SUCCESS) {
        changers.names.push_back("an account unknown (its access list cannot be read)");
        changers.sids.push_back("unknown");
        return changers;
    }
    const auto add = [&](PSID sid, const std::string& name) {
        changers.sids.push_back(SidText(sid));
        changers.names.push_back(name);
    };
    if (!IsTrustedAccount(owner))
        add(owner, AccountName(owner)); // an owner can always rewrite the access list
    if (!dacl) {
        BYTE everyone[SECURITY_MAX_SID_SIZE];
        DWORD size = sizeof everyone;
        if (CreateWellKnownSid(WinWorldSid, nullptr, everyone, &size))
            add(everyone, "Everyone"); // no access list grants everything to everybody
    }
    for (WORD i = 0; dacl && i < dacl->AceCount; ++i) {
        ACE_HEADER* header = nullptr;
        if (!GetAce(dacl, i, reinterpret_cast<void**>(&header)) || header->AceType != ACCESS_ALLOWED_ACE_TYPE
            || (header->AceFlags & INHERIT_ONLY_ACE))
            continue;
        auto* ace = reinterpret_cast<ACCESS_ALLOWED_ACE*>(header);
        const PSID sid = &ace->SidStart;
        if ((ace->Mask & rights) && !IsTrustedAccount(sid))
            add(sid, AccountName(sid));
    }
    LocalFree(descriptor);
    return changers;
}

}

bool RunsElevated()
{
    HANDLE token = nullptr;
    if (OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
        TOKEN_ELEVATION elevation = {};
        DWORD size = 0;
        const bool elevated = GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size)
            && elevation.TokenIsElevated;
        CloseHandle(token);
        if (elevated)
            return true;
    }
    BYTE administrators[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof administrators;
    BOOL member = FALSE;
    return CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, administrators, &size)
        && CheckTokenMembership(nullptr, administrators, &member) && member;
}

WriteTrust CheckWriteTrust(const std::string& path)
{
    char full[MAX_PATH * 2] = {};
    const DWORD length = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
    std::string current = length > 0 && length < sizeof full ? std::string(full) : path;
    for (int level = 0; !current.empty(); ++level) {
        const PathChangers changers = ChangersOfPath(current, RightsAt(level));
        if (!changers.names.empty())
            return {false, current, changers.names.front()};
        if (IsDriveRoot(current))
            break;
        current = ParentOf(current);
    }
    return {};
}

PathChangers RemoversIn(const std::string& folder) { return ChangersOfPath(folder, kRemoveRights); }

PathChangers ChangersAlongTheWay(const std::string& path)
{
    PathChangers all;
    std::string current = path;
    for (int level = 0; !current.empty(); ++level) {
        const PathChangers changers = ChangersOfPath(current, RightsAt(level));
        all.sids.insert(all.sids.end(), changers.sids.begin(), changers.sids.end());
        all.names.insert(all.names.end(), changers.names.begin(), changers.names.end());
        if (IsDriveRoot(current))
            break;
        current = ParentOf(current);
    }
    return all;
}

WriteTrust CheckTrustWhileElevated(const std::string& path)
{
    return RunsElevated() ? CheckWriteTrust(path) : WriteTrust{};
}

std::string OwnAccountSidText() { return ProcessAccount().Get() ? SidText(ProcessAccount().Get()) : std::string(); }

std::string ChangeableReason(const WriteTrust& trust) { return trust.account + " can change " + trust.changeable; }

WriteTrust CheckBeforeRunning(const std::string& path)
{
    const WriteTrust trust = CheckTrustWhileElevated(path);
    if (!trust.trusted)
        TellNotRun(path, trust);
    return trust;
}

void TellNotRun(const std::string& path, const WriteTrust& trust)
{
    (void)ShowMessageBox(path + " was not run: " + ChangeableReason(trust) + ".", GetModuleCaption(),
                         MB_OK | MB_ICONWARNING);
}

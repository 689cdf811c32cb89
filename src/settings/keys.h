#pragma once
// Every key of the settings file, with its default.
#include <array>
#include <string>
#include <vector>

namespace pw::keys {

inline constexpr const char kSetting[] = "Setting";

// Section "Setting".
inline constexpr const char kSelectLanguage[] = "SelectLanguage";
inline constexpr const char kEnableLR[] = "Enable_LR";
inline constexpr const char kEnablePM[] = "Enable_PM";
inline constexpr const char kEnableVM[] = "Enable_VM";
inline constexpr const char kEnableEG[] = "Enable_EG";
inline constexpr const char kEnableGDP[] = "Enable_GDP";
inline constexpr const char kEnableECU[] = "Enable_ECU";
inline constexpr const char kProgramName[] = "ProgramName";
inline constexpr const char kPass1[] = "Pass1";
inline constexpr const char kPass2[] = "Pass2";
inline constexpr const char kCheck[] = "Check";
inline constexpr const char kExecutableModule[] = "ExecutableModule";
inline constexpr const char kProgramPath[] = "ProgramPath";
inline constexpr const char kProxyServer[] = "ProxyServer";
inline constexpr const char kProxyUserName[] = "ProxyUserName";
inline constexpr const char kProxyPass[] = "ProxyPass";
inline constexpr const char kCheckNewVersion[] = "CheckNewVersion";
inline constexpr const char kSetDateOnLastVisit[] = "SetDateOnLastVisit";
inline constexpr const char kLastVisitDate[] = "LastVisitDate";
inline constexpr const char kHideLastDigit[] = "HideLastDigit";
inline constexpr const char kHideLastDigitValue[] = "HideLastDigitValue";
inline constexpr const char kInfoSite[] = "InfoSite";
inline constexpr const char kCACertFile[] = "CACertFile";

// Section "EG": host of the plain-HTTP metal price page (empty: the host of EGHost, port 80).
inline constexpr const char kEGPriceHost[] = "EGPriceHost";

inline constexpr int kDefEnableOld = 1;  // LR, PM, VM, EG
inline constexpr int kDefEnableNew = 0;  // GDP, ECU
inline constexpr int kDefCheckNewVersion = 1;
inline constexpr int kDefSetDateOnLastVisit = 0;
inline constexpr int kDefHideLastDigit = 0;
inline constexpr int kDefHideLastDigitValue = 0;
inline constexpr const char kDefExecutableModule[] = "purseward";
inline constexpr const char kDefInfoSite[] = "https://purseward.example.org";

// The product word enciphered for the check value and the master key text.
inline constexpr const char kProductWord[] = "Purseward";

// System prefixes, index 0..5.
inline constexpr std::array<const char*, 6> kPrefixes = {"LR", "PM", "VM", "EG", "GDP", "ECU"};

// The keys of one payment-system section; empty where the system has no such key.
struct SystemKeys {
    const char* section;
    const char* host;           // added: host or host:port of the interface
    const char* defaultHost;
    // credential keys (secrets)
    const char* account;
    const char* apiName;
    const char* save;
    const char* pin;
    const char* pass;
    const char* accountLast;
    // filters
    const char* checkGetLast;         // integer, 1
    const char* filterLastOperCount;  // integer, 5
    const char* checkFromToDate;      // integer, 0
    const char* filterDateFrom;       // string, today
    const char* filterDateTo;         // string, today
    const char* filterDateFromOld;    // PM only
    const char* filterDateToOld;      // PM only
    const char* checkAccount;         // integer, 0
    const char* filterAccount;        // string
    const char* checkBatch;           // integer, 0
    const char* filterBatch;          // string
    const char* autoRefresh;          // integer, 0
};

const SystemKeys& KeysOf(int systemIndex);  // 0..5
// The credential keys of a system that it has (non-empty), in table order.
std::vector<std::string> CredentialKeys(int systemIndex);

inline constexpr int kDefCheckGetLast = 1;
inline constexpr int kDefFilterLastOperCount = 5;
inline constexpr int kDefCheckFromToDate = 0;
inline constexpr int kDefCheckAccount = 0;
inline constexpr int kDefCheckBatch = 0;
inline constexpr int kDefAutoRefresh = 0;

}  // namespace pw::keys

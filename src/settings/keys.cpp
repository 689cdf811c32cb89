#include "settings/keys.h"

namespace pw::keys {

namespace {
// clang-format off
const SystemKeys kSystems[6] = {
    {"LR", "LRHost", "api.libertyreserve.com",
     "LRAccount", "APIName", "LRSave", "", "LRPass", "LRAccountLast",
     "CheckGetLast", "FilterLastOperCount", "CheckFromToDate", "FilterDateFrom", "FilterDateTo",
     "", "", "CheckLRAccount", "FilterLRAccount", "CheckBatch", "FilterBatch", "LRAutoRefresh"},
    {"PM", "PMHost", "perfectmoney.com",
     "PM_AccountID", "", "PMSave", "", "PMPass", "PMAccountLast",
     "", "", "", "PM_FilterDateFrom", "PM_FilterDateTo",
     "PM_FilterDateFromOld", "PM_FilterDateToOld", "PM_CheckAccount", "PM_FilterAccount",
     "PM_CheckBatch", "PM_FilterBatch", "PMAutoRefresh"},
    {"VM", "VMHost", "www.v-money.net",
     "VM_AccountID", "", "VMSave", "VMPin", "VMPass", "VMAccountLast",
     "", "", "", "VM_FilterDateFrom", "VM_FilterDateTo",
     "", "", "", "", "VM_CheckBatch", "VM_FilterBatch", "VMAutoRefresh"},
    {"EG", "EGHost", "www.e-gold.com",
     "EG_AccountID", "", "EGSave", "", "EGPass", "EGAccountLast",
     "", "", "", "EG_FilterDateFrom", "EG_FilterDateTo",
     "", "", "EG_CheckAccount", "EG_FilterAccount", "EG_CheckBatch", "EG_FilterBatch",
     "EGAutoRefresh"},
    {"GDP", "GDPHost", "www.gdpay.com",
     "GDPAccount", "StoreID", "GDPSave", "", "GDPPass", "GDPAccountLast",
     "CheckGetLast", "FilterLastOperCount", "CheckFromToDate", "FilterDateFrom", "FilterDateTo",
     "", "", "CheckGDPAccount", "FilterGDPAccount", "CheckBatch", "FilterBatch",
     "GDPAutoRefresh"},
    {"ECU", "ECUHost", "www.ecumoney.com",
     "ECUAccount", "", "ECUSave", "", "ECUPass", "ECUAccountLast",
     "CheckGetLast", "FilterLastOperCount", "CheckFromToDate", "FilterDateFrom", "FilterDateTo",
     "", "", "CheckECUAccount", "FilterECUAccount", "CheckBatch", "FilterBatch",
     "ECUAutoRefresh"},
};
// clang-format on
}  // namespace

const SystemKeys& KeysOf(int systemIndex) { return kSystems[systemIndex]; }

std::vector<std::string> CredentialKeys(int systemIndex) {
    const SystemKeys& k = kSystems[systemIndex];
    std::vector<std::string> out;
    for (const char* key : {k.account, k.apiName, k.save, k.pin, k.pass, k.accountLast})
        if (key[0] != '\0') out.emplace_back(key);
    return out;
}

}  // namespace pw::keys

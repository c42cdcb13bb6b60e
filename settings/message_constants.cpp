#include "settings/message_constants.h"

namespace calvora::settings {
namespace {

// The texts are the program's own; several are kept exactly as they have always read, since
// language files translate them by name.
constexpr MessageConstant kConstants[] = {
    {"sAdministratorrightsneededtousethisprogram",
     "Administrator rights needed to use this program!"},
    {"sAllDatawillbeloston",
     "All Data on the device will be lost !\r\nDo you want to proceed with this format?"},
    {"SApplicationName", "Are you sure, you want to close the application?"},
    {"sAreyousureyouwanttoabort", "Are you sure, you want to abort?"},
    {"sCancelledbyUser", "Cancelled by User!"},
    {"Scontinuesrefreshinprogram", "Continue refreshing the program?"},
    {"SDlgTitle_About", "Calvora"},
    {"sDonate",
     "Direct Bank Transfer Account Info:\r\n\r\n"
     "International account number (IBAN) and bank code (SWIFT/BIC): on request by mail\r\n"
     "Domestic account number and bank code: on request by mail\r\n\r\n"
     "Bank Details:\r\nThe bank's name and address are sent with the account numbers."},
    {"sDownloadingisinprogress", "Downloading is in progress !"},
    {"sDoyouwanttoproceedwiththisformat", "Do you want to proceed with this format?"},
    {"sError", "Error:"},
    {"sExitprograms", "Exit programs?"},
    {"sFilenotupdatefoundReinstallProgram", "File update not found, please reinstall program!"},
    {"sFormatDiskFailed", "Format Disk Failed ..."},
    {"sHeispausingtemporarily", "He is pausing temporarily!"},
    {"sHelpnotavailable", "Help not available!"},
    {"sHewantstosavethereporting", "He wants to save the reporting?"},
    {"sInformation_About", "Information"},
    {"sLognotavailable", "Log not available!"},
    {"sMustSpecifyaVolumeLabelToFormataDrive", "Specify volume label to format a data medium!"},
    {"sNonewversionavailable", "No new version available!"},
    {"sProcesscompletedwithsomewarnings", "Process completed with some warnings!"},
    {"sPuttingdowncancelled", "Shutdown cancelled!"},
    {"sThedownloadingiscompleted", "The downloading is completed!"},
    {"sThelanguagesettingissuccessful", "Changing setting requires the program to be restarted!"},
    {"sThenewVersion", "The new Version is available!"},
    {"sTheprogramupdatercouldconnecttotheupdaterserver",
     "The program updater could connect to the updater server.\r\nPlease check Internet "
     "connection and repeat attempt!"},
    {"sTheywerehavingadevicejoinedthesystemtheprogrammeisstartingagain",
     "They were having a device joined or they removed!\r\n The program to be restarted!"},
    {"sUpdateAreAvailable", "Update Are Available ..."},
    {"sUpdateprocesscancelled", "Update process cancelled!"},
    {"sUpdateserverisnotavailable", "Update server is no tavailable!"},
    {"sUSBdeviceheisnotconnecting", "USB device no connecting!"},
};

}  // namespace

std::span<const MessageConstant> messageConstants() {
    return kConstants;
}

}  // namespace calvora::settings

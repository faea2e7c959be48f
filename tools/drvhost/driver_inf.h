// A printer INF as the system's setup functions read it: the models it
// offers and, for each, the files its install section copies and the PPD it
// names as data file. Shared by instprinter --inf and drvhost lint --package.
#pragma once

#include <string>
#include <vector>

namespace drvhost {

struct InfModel {
    std::wstring name;                   // the model name, which becomes the driver's name
    std::wstring installSection;         // its install section
    std::vector<std::wstring> copyFiles; // bare names, in order
    std::wstring dataFile;               // the PPD (DataFile=), empty when absent
    bool takesPostScriptDriver = false;  // Include=NTPRINT.INF and Needs=PSCRIPT.OEM
};

struct DriverInf {
    std::wstring path;   // the INF itself
    std::wstring folder; // its folder, with a trailing "\"
    std::vector<InfModel> models;
};

// Reads the INF through the setup API (SetupOpenInfFileW and its line
// functions); the models section is the 64-bit one ("<name>.NTamd64") when
// [Manufacturer] decorates it so, else the undecorated one. False with a
// reason when the INF cannot be opened or offers no model.
bool ReadDriverInf(const std::wstring& path, DriverInf* out, std::wstring* error);

// The model of that name (compared without regard to letter case), or null.
const InfModel* FindInfModel(const DriverInf& inf, const std::wstring& model);

// The dependent files of the driver: every copied file but the data file.
std::vector<std::wstring> DependentFiles(const InfModel& model);

} // namespace drvhost

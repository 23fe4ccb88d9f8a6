#include "tool_identity.h"

namespace Tools {

const ToolIdentity Ferrox = {"Ferrox (Lumera Deck for Windows)", "MorivaneFerrox", "TFerroxMainForm",
                             "\\Software\\Morivane\\Lumera\\Ferrox\\", 1};
const ToolIdentity Slumbo = {"Slumbo (Lumera Deck for Windows)", "MorivaneSlumbo", "TSlumboMainForm",
                             "\\Software\\Morivane\\Lumera\\Slumbo\\", 0};
const ToolIdentity Kickon = {"Kickon (Lumera Deck for Windows)", "MorivaneKickon", "TKickonMainForm",
                             "\\Software\\Morivane\\Lumera\\Kickon\\", 1};
const ToolIdentity Tezzo = {"Tezzo (Lumera Deck for Windows)", "MorivaneTezzo", "TTezzoMainForm",
                            "\\Software\\Morivane\\Lumera\\Tezzo\\", 0};
const ToolIdentity Halto = {"Halto (Lumera Deck for Windows)", "MorivaneHalto", "THaltoMainForm",
                            "\\Software\\Morivane\\Lumera\\Halto\\", 0};
const ToolIdentity Pinnet = {"Pinnet (Lumera Deck for Windows)", "MorivanePinnet", nullptr,
                             "\\Software\\Morivane\\Lumera\\Pinnet\\", 1};

} // namespace Tools

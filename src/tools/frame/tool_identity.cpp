#include "tool_identity.h"

#include "help_topics.h"

namespace Tools {

const ToolIdentity Ferrox = {"Ferrox (Lumera Deck for Windows)",
                             "MorivaneFerrox",
                             "TFerroxMainForm",
                             "\\Software\\Morivane\\Lumera\\Ferrox\\",
                             1,
                             HelpFerrox};
const ToolIdentity Slumbo = {"Slumbo (Lumera Deck for Windows)",
                             "MorivaneSlumbo",
                             "TSlumboMainForm",
                             "\\Software\\Morivane\\Lumera\\Slumbo\\",
                             0,
                             HelpSlumbo};
const ToolIdentity Kickon = {"Kickon (Lumera Deck for Windows)",
                             "MorivaneKickon",
                             "TKickonMainForm",
                             "\\Software\\Morivane\\Lumera\\Kickon\\",
                             1,
                             HelpKickon};
const ToolIdentity Tezzo = {"Tezzo (Lumera Deck for Windows)",
                            "MorivaneTezzo",
                            "TTezzoMainForm",
                            "\\Software\\Morivane\\Lumera\\Tezzo\\",
                            0,
                            HelpTezzo};
const ToolIdentity Halto = {"Halto (Lumera Deck for Windows)",
                            "MorivaneHalto",
                            "THaltoMainForm",
                            "\\Software\\Morivane\\Lumera\\Halto\\",
                            0,
                            HelpHalto};
const ToolIdentity Pinnet = {"Pinnet (Lumera Deck for Windows)",
                             "MorivanePinnet",
                             nullptr,
                             "\\Software\\Morivane\\Lumera\\Pinnet\\",
                             1,
                             0};

} // namespace Tools

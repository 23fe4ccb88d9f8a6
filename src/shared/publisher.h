// The publisher of the suite, defined once for every program: the maker's name, its home
// page and mail address, and the copyright line (also split in two for narrow labels).
#pragma once

namespace Publisher {

inline constexpr const char* Maker = "Morivane";
inline constexpr const char* HomePage = "http://www.morivane.example/";
inline constexpr const char* MailAddress = "info@morivane.example";
inline constexpr const char* CopyrightFirst = "Copyright (C) 1997-2026";
inline constexpr const char* CopyrightSecond = "Morivane Software Works";
inline constexpr const char* Copyright = "Copyright (C) 1997-2026 Morivane Software Works";
inline constexpr const char* ToolVersion = "Morivane Tool   Ver1.20";

} // namespace Publisher

#pragma once
// The addresses the program's link labels open, and the opening itself. Every link opens a fixed
// address held here; a label's caption is only what the user reads.

#include <string>

class TApplication;

namespace links {

inline constexpr const char* kEmailText = "tamik@example.org";
inline constexpr const char* kEmail = "mailto:tamik@example.org";
inline constexpr const char* kWebSiteText = "tamik.example.org";
inline constexpr const char* kWebSite = "http://tamik.example.org/";
inline constexpr const char* kOrigin = "Made with mingw-w64 and Wine";

// The credited components and their sites (the second site serves two components).
inline constexpr const char* kComponent1 = "libjpeg-turbo";
inline constexpr const char* kComponent2 = "mingw-w64";
inline constexpr const char* kComponent3 = "winpthreads";
inline constexpr const char* kComponent4 = "Wine";
inline constexpr const char* kSite1 = "https://libjpeg-turbo.org/";
inline constexpr const char* kSite2 = "https://www.mingw-w64.org/";
inline constexpr const char* kSite3 = "https://www.winehq.org/";
inline constexpr const char* kFriend = "Debian";
inline constexpr const char* kFriendSite = "https://www.debian.org/";

// Asks the shell to open `address` ("open" verb, the application's window as owner, the default
// show command). The result is not examined: a link nothing can open shows nothing.
void Open(TApplication* application, const std::string& address);

}  // namespace links

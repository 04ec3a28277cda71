// Constants of the build, generated together with the description set from
// the build's configuration, so that the address a handler writes is the one
// the game window stores.
#pragma once

namespace vorrik {
extern const char kGamePageAddress[];  // GBK
extern const char kAuthorAccount[];    // the author's messenger account number
}  // namespace vorrik

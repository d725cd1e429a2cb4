// The platform's windowless rich edit interfaces, as its headers declare them
// (plain virtual members), and their two interface ids, which no import
// library of the toolchain carries.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <richedit.h>
#include <textserv.h>

namespace WUI {

// {8D33F740-CF58-11CE-A89D-00AA006CADC5}
const IID kIidTextServices = {0x8d33f740, 0xcf58, 0x11ce, {0xa8, 0x9d, 0x00, 0xaa, 0x00, 0x6c, 0xad, 0xc5}};
// {C5BDD8D0-D26E-11CE-A89E-00AA006CADC5}
const IID kIidTextHost = {0xc5bdd8d0, 0xd26e, 0x11ce, {0xa8, 0x9e, 0x00, 0xaa, 0x00, 0x6c, 0xad, 0xc5}};

}  // namespace WUI

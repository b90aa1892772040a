// SPDX-License-Identifier: MIT
#include "model/ImagingLibrary.h"

namespace corvida {

namespace {

ImagingLibrary* g_installed = nullptr;

} // namespace

ImagingLibrary* ImagingLibrary::installed() {
    return g_installed;
}

void ImagingLibrary::install(ImagingLibrary* library) {
    g_installed = library;
}

} // namespace corvida

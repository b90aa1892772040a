// SPDX-License-Identifier: MIT
#pragma once

// The desktop's file associations, read from the freedesktop shared MIME database through
// QMimeDatabase: one FileAssociation per file-name suffix (sorted by extension, so the
// MimeTable grows in the same order on every run), with the type's icon name as its default
// icon. Install it with MimeTable::setAssociationSource(systemFileAssociations).

#include <vector>

#include "model/FileAssociation.h"

namespace corvida {

std::vector<FileAssociation> systemFileAssociations();

} // namespace corvida

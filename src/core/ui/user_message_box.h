// Shows a message the core prepared (title and text in Windows-1252, already translated) through the
// injectable Messages interface.
#pragma once

#include "core/data_folder.h"
#include "core/ui/messages.h"

namespace psalmora {

void ShowUserMessage(Messages& messages, QWidget* parent, const UserMessage& message);

}  // namespace psalmora

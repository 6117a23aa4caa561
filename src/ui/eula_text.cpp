// The end-user licence agreement.
#include <string>

#include "ui/text_forms.h"

namespace tessel::ui {

std::vector<TextBlock> EulaBlocks() {
  return {
      {L"End User License Agreement (EULA)", 2},
      {L"Corvane LLC licenses Tessel (the \"Software\") to you subject to the terms of this "
       L"agreement.",
       2},
      {L"Please read these terms carefully.  By distributing, installing, copying or otherwise "
       L"using the Software you accept them.  If you do not accept them, do not use the "
       L"Software.",
       3},
      {L"SCOPE OF THIS LICENSE", 2},
      {L"You may install and use the Software on any number of computers for backing up your own "
       L"data files.",
       2},
      {L"The Software is licensed, not sold.  Corvane LLC keeps all rights it does not expressly "
       L"grant to you in this agreement.",
       2},
      {L"The Software is provided \"as is\", without warranties of any kind, express or implied, "
       L"including fitness for a particular purpose.",
       3},
      {L"WARRANTY DISCLAIMERS and LIABILITY LIMITATIONS", 2},
      {L"In no event shall Corvane LLC be liable for any damages whatsoever, including loss of "
       L"data, loss of profits or business interruption, arising out of the use of or inability "
       L"to use the Software.",
       2},
      {L"You are responsible for checking that your backups are complete and can be restored.  "
       L"The entire risk as to the results of using the Software is with you.",
       3},
      {L"DISTRIBUTION", 2},
      {L"You may give exact copies of the Software to others, provided that no fee is charged "
       L"for it.",
       2},
      {L"Every copy must include this agreement, and the Software must not be modified, sold or "
       L"bundled with another product without written permission from Corvane LLC.",
       2},
      {L"The Software does not include WinZip or its Command Line Support Add-on; those must be "
       L"obtained and licensed from their owner.",
       3},
      {L"CONFIDENTIAL PROPERTY", 2},
      {L"The Software and its design are confidential property of Corvane LLC.  You may not "
       L"reverse engineer, decompile or disassemble it.",
       3},
      {L"COPYRIGHT and TRADEMARKS", 2},
      {L"The Software is protected by copyright law.  Corvane LLC reserves all rights.", 2},
      {L"WinZip is a registered trademark of its owner.  All other names mentioned belong to "
       L"their respective owners.",
       1},
      {std::wstring(40, L'_'), 2},
      {L"Copyright Corvane LLC.  All rights reserved.", 0},
  };
}

}  // namespace tessel::ui

// The Browse for Users window's design.
#pragma once

#include "ui/form.h"

namespace tessel::ui {

enum class BrowseCtl { lblBrowseUsers, lstUsers, cmdUsers };

const FormDef& BrowseUsersForm();

}  // namespace tessel::ui

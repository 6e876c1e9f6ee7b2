#pragma once
// A view header that reaches into the app: the view's include check must refuse it.
#include "app/ui.h"

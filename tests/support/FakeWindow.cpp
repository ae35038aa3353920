#include "support/FakeWindow.h"

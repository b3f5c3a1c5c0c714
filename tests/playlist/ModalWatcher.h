#pragma once

// Kept for tests outside this folder that still include it; the helpers live in tests/support.
#include "support/Modal.h"

using testsupport::answering;
using testsupport::answeringEach;
using testsupport::SeenBox;

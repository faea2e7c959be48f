// A subsystem that includes a sibling subsystem: the check must report it.
#include "ui/dialog_plumbing.h"
#include "watermark/watermark_store.h"

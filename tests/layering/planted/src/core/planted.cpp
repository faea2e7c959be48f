// A core unit that reaches up into a page: the check must report it.
#include "core/devmode_record.h"
#include "jobopts/job_options_page.h"

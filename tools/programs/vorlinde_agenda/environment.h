// What vorlinde-agenda reads from its environment. Only the program reads
// it: the libraries are given what they need.
#pragma once

#include <time.h>

#include <string>

#include "agenda/agenda.h"
#include "tools/web/web.h"

// The locale the user's messages follow: the first of LC_ALL, LC_MESSAGES
// and LANG that is set.
std::string MessageLocale();

// Now, for every subcommand: the instant SOURCE_DATE_EPOCH names when it is
// set, so that what the program makes does not hang on the moment it is
// made, else the system's clock.
time_t Now();

// Today: the local date of Now(). False when the C library cannot tell it.
bool Today(AgendaDate* today);

// The limits of a fetch, shortened by the environment for tests:
// VORLINDE_WEB_TIMEOUT (whole seconds) lowers both time limits to at most
// that, and VORLINDE_CA_FILE names the certificates to trust instead of the
// system's.
FetchLimits FetchLimitsFromEnvironment();

// The computer list from the signed-in user's domain, apart from the window:
// the user's DNS domain, the directory query for it and the listing through
// the ADO components.
#pragma once

#include "ADODB.h"

// The signed-in user's name in an extended name format (12: "domain\user"
// with the domain as a DNS name). Raises EOSError when the platform has no
// such name, as for a user outside any domain.
String GetUserNameText(int Format);

// The domain of a "domain\user" name: the text before the first backslash,
// empty when there is none.
String UserDomain(const String& UserName);

// The query for the computers of Domain (a DNS name): all of them when both
// boxes are checked, servers only when just Servers is, workstations only
// whenever Servers is not. Quotes, commas and the like in the domain are
// escaped, so no domain can change the query's shape.
String DirectoryQueryText(const String& Domain, bool Servers, bool Workstations);

// Runs QueryText through Command (on its connection) and Query, then replaces
// Lines with the names of the records found, sorted without regard to case by
// the user's locale, duplicates kept; a record without a name adds no line.
// Returns the number of records, nameless ones included. Raises when the
// directory cannot be listed, leaving Lines as they were.
int ListDirectoryComputers(TADOCommand* Command, TADOQuery* Query, const String& QueryText,
                           TStrings* Lines);

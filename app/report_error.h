// The program's one error box: the text, caption "Varnolt", an error icon and
// a single OK button. Returns when the user has closed it.
#pragma once

void ReportError(const char* text);

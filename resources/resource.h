// Every resource, command and control id of the program, in one place.
// Included by varnolt.rc and by the Windows code.
#pragma once

// Application icon; the same image is also the icon named "SMALL"
#define IDI_VARNOLT             100

// Menu and toolbar bitmaps: the glyphs drawn at 16 pixels, and at 20, 24
// and 32 for higher DPIs
#define IDR_MAINMENU            101
#define IDB_TOOLBAR             120
#define IDB_TOOLBAR_20          121
#define IDB_TOOLBAR_24          122
#define IDB_TOOLBAR_32          123
#define IDC_MAINTOOLBAR         1000
#define IDC_PIECEVIEW           1001  // the piece view below the two lines

// Menu commands
#define IDM_ABOUT               40001
#define IDM_SAVE                40024
#define IDM_SAVEAS              40025
#define IDM_HELPCONTENTS        40026
#define IDM_PLAY                40056
#define IDM_STOP                40057
#define IDM_MATRIX              40058
#define IDM_VOICES              40061
#define IDM_COMPOSE             40062
#define IDM_OCTAVES             40063
#define IDM_SERIES              40064
#define IDM_MIDI                40065
#define IDM_FORMS               40066
#define IDM_OPENSETTINGS        40067
#define IDM_SAVESETTINGS        40068
#define IDM_EXPORTSCORE         40069

// Toolbar buttons, routed like their menu twins
#define IDB_BUTTON_PLAY         40022
#define IDB_BUTTON_STOP         40029
#define IDB_BUTTON_SAVE         40037

// Dialog templates
#define IDD_ABOUT               102
#define IDD_SERIES_PAGE1        107
#define IDD_MATRIX              127
#define IDD_VOICES              130
#define IDD_OCTAVES             131
#define IDD_SERIES_PAGE2        133   // pages 2..16 use 133..147 in order
#define IDD_SERIES_PAGE16       147
#define IDD_MIDI                148
#define IDD_FORMS               149

// About box
#define IDC_ABOUT_NAME          1076
#define IDC_ABOUT_VERSION       1077

// Matrix dialog
#define IDC_RANDOM_TONES        1075
#define IDC_RANDOM_DURATIONS    1076
#define IDC_RANDOM_VELOCITIES   1077
#define IDC_TONE_FIRST          1079  // tone edit i is 1079 + i
#define IDC_DURATION_FIRST      1091  // duration list i is 1091 + i
#define IDC_VELOCITY_FIRST      1103  // velocity edit i is 1103 + i

// Octaves dialog: the edit of voice v (1..16) is 1079 + v
#define IDC_OCTAVE_FIRST        1080

// Voices dialog: check boxes 1025..1036 (voices 1..12), 1053..1056 (13..16);
// the instrument list of voice v is 1036 + v (none for voice 10)
#define IDC_VOICE_CHECK_FIRST   1025
#define IDC_VOICE_CHECK_13      1053
#define IDC_INSTRUMENT_FIRST    1037

// Tempo ("MIDI") dialog
#define IDC_TEMPO_LIST          1197

// Forms dialog: the text, then choosing and playing one form; each control
// without a text of its own comes right after its label
#define IDC_FORMS_TEXT          1198
#define IDC_FORMS_TEXT_LABEL    1240
#define IDC_FORMS_FORM_LABEL    1241
#define IDC_FORMS_FORM          1242
#define IDC_FORMS_VOICE_LABEL   1243
#define IDC_FORMS_VOICE         1244
#define IDC_FORMS_PLAY          1245
#define IDC_FORMS_STOP          1246
#define IDC_FORMS_NAMES_LABEL   1247
#define IDC_FORMS_NAMES         1248

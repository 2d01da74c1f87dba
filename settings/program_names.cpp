#include "settings/program_names.h"

const char ProgramNameTable[ProgramCount][ProgramNameSize] = {
    // pianos
    "acousticgrandpiano", "brightacousticpiano", "electricgrandpiano", "honkytonkpiano",
    "rhodespiano", "chorusedpiano", "harpsichord", "clavinet",
    // chromatic percussion
    "celesta", "glockenspiel", "musicbox", "vibraphone",
    "marimba", "xylophone", "tubularbells", "dulcimer",
    // organs
    "hammondorgan", "percussiveorgan", "rockorgan", "churchorgan",
    "reedorgan", "accordian", "harmonica", "tangoaccordian",
    // guitars
    "nylonstringguitar", "steelstringguitar", "jazzguitar", "cleanguitar",
    "mutedguitar", "overdriveguitar", "distortionguitar", "guitarharmonics",
    // basses
    "acousticbass", "fingeredbass", "pickedbass", "fretlessbass",
    "slapbass1", "slapbass2", "synthbass1", "synthbass2",
    // strings
    "violin", "viola", "cello", "contrabass",
    "tremolostrings", "pizzicatostrings", "harp", "timpani",
    // ensembles
    "stringensemble1", "stringensemble2", "synthstrings1", "synthstrings2",
    "choiraahs", "voiceoohs", "synthvox", "orchestrahit",
    // brass
    "trumpet", "trombone", "tuba", "mutedtrumpet",
    "frenchhorn", "brasssection", "synthbrass1", "synthbrass2",
    // reeds
    "sopranosax", "altosax", "tenorsax", "baritonesax",
    "oboe", "englishhorn", "bassoon", "clarinet",
    // pipes
    "piccolo", "flute", "recorder", "panflute",
    "bottleblow", "shakuhachi", "whistle", "ocarina",
    // synth leads
    "squarewave", "sawtoothwave", "synthcalliope", "chifferlead",
    "charang", "solovox", "fifthsawwave", "bassandlead",
    // synth pads
    "fantasia", "warmpad", "polysynth", "spacevoice",
    "bowedglass", "metalpad", "halopad", "sweeppad",
    // synth effects
    "icerain", "soundtrack", "crystal", "atmosphere",
    "brightness", "goblins", "echodrops", "startheme",
    // ethnic
    "sitar", "banjo", "shamisen", "koto",
    "kalimba", "bagpipe", "fiddle", "shanai",
    // percussive
    "tinklebell", "agogo", "steeldrums", "woodblock",
    "taiko", "melodictom1", "synthdrum", "reversecymbol",
    // sound effects
    "guitarfretnoise", "breathnoise", "seashore", "bird",
    "telephonering", "helicopter", "applause", "gunshot",
};

#pragma once

// The image model: everything that knows the BIOS image format.
#include "bios_info.h"
#include "board.h"
#include "checksum.h"
#include "codec.h"
#include "conversions.h"
#include "file.h"
#include "image.h"
#include "message.h"
#include "rom_file.h"
#include "rules.h"

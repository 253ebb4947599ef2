#pragma once
// The whole Orvale engine: platform adapters, settings and data folders, angles and
// units, spheroids and projections.

#include "orvale/engine/angle_parser.h"
#include "orvale/engine/angle_settings.h"
#include "orvale/engine/angles.h"
#include "orvale/engine/projection/projection.h"
#include "orvale/engine/projection/state_plane_zones.h"
#include "orvale/engine/spheroid.h"
#include "orvale/engine/spheroid_catalogue.h"
#include "orvale/engine/units.h"
#include "orvale/platform/clock.h"
#include "orvale/platform/drives.h"
#include "orvale/platform/files.h"
#include "orvale/platform/program.h"
#include "orvale/platform/stdio_file.h"
#include "orvale/platform/text_encoding.h"
#include "orvale/storage/config_file.h"
#include "orvale/storage/data_folders.h"
#include "orvale/storage/little_endian.h"
#include "orvale/storage/record_files.h"

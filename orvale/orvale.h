#pragma once
// The whole Orvale engine: platform adapters, settings and data folders, angles and
// units, spheroids and projections.

#include "orvale/engine/angles/angle_parser.h"
#include "orvale/engine/angles/angle_settings.h"
#include "orvale/engine/angles/angles.h"
#include "orvale/engine/angles/units.h"
#include "orvale/engine/projection/projection.h"
#include "orvale/engine/projection/projection_records.h"
#include "orvale/engine/spheroid/spheroid.h"
#include "orvale/engine/spheroid/spheroid_catalogue.h"
#include "orvale/engine/spheroid/spheroid_records.h"
#include "orvale/platform/clock.h"
#include "orvale/platform/drives.h"
#include "orvale/platform/files.h"
#include "orvale/platform/program.h"
#include "orvale/platform/stdio_file.h"
#include "orvale/platform/text_encoding.h"
#include "orvale/storage/config_file.h"
#include "orvale/storage/data_folders.h"

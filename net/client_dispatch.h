// The client dispatcher's operations, under the name the world code includes.
#pragma once

#include "net/dispatcher.h"

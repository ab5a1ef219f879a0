// The class library's classes unit in one include: components, lists, collections and streams.
#pragma once

#include "platform/rtl/collection.h"
#include "platform/rtl/component.h"
#include "platform/rtl/lists.h"
#include "platform/rtl/streams.h"

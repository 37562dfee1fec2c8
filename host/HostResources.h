// Ids of the host's own string resources.
#pragma once

// "Please select a slave axis!"
constexpr unsigned IDS_SELECT_SLAVE_AXIS = 20037;
// "Invalid value of %s!" with the name of the entry.
constexpr unsigned IDS_INVALID_VALUE = 20048;

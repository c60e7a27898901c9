#pragma once

// The bookmark file: records, read, append, remove.

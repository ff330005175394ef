#pragma once

// Run mode of the cancellation of splits: receivable titles or payable entries.
enum TModo : int { tmNenhum = 0, tmZTPrest = 1, tmZTLanc = 2 };

#pragma once

// Plays "Mac_Chime.m4a" from the resources folder once, when it is there;
// silence, and no message, when it is not.
void PlayCompletionChime();

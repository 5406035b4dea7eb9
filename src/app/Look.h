#pragma once

// The program's look, set once when the application starts: metric-compatible faces for Arial
// and Bookman Old Style, and dialog buttons in the order the program's boxes name them
// (OK Cancel, Yes No, Abort Retry).
void setUpLook();

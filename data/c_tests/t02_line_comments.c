/*Error:-slc-
Success:-slc+
*/
/* Whether // starts a comment that runs to the end of the line. */
int kx_a = 1; // a comment
int kx_b = 2;

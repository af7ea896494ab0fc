/*Error:
Success:_ignore_paren
*/
/* A keyword with a parenthesised number in front of a declaration (absolute addresses). */
XXX(0x30) unsigned char kx_c;
unsigned char kx_read(void) { return kx_c; }

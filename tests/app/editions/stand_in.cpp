// A stand-in library's only source: the check looks at the links, never at the code.
int tavloEditionsStandIn()
{
    return 0;
}

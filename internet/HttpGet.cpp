#include "internet/HttpGet.h"

HttpGet::~HttpGet() = default;

tsim = 1.0000e-03
td = 1.0000e-06
points = 9999999
swinit = [ 0     ]
thon(1,:)=[  1   1];
% Circuit name : /home/user/noout

% Circuit Description
X = [ 'V1        1   0   1.0000e+01                 '   % V1
      'R1        1   2   1.0000e+00                 '   % R1
      'S1        2   0   0.0000e+00                 ' ] % S1

% Output Description

% Number of nodes
numn = 3;

tsim = 1.0000e-03
td = 1.0000e-06
points = 9999999
swinit = [ 0     ]
Cy = [ -2.5000e-01    5.0000e-01      ]
Ct = [ 0.0000e+00     0.0000e+00     -2.0000e+00    0.0000e+00      ]
Csw = [ 1    ]
Cc = [ 1.5000e+00      ]
thon(1,:)=[  1   1];
% Circuit name : /home/user/mod

% Circuit Description
X = [ 'V1        1   0   1.0000e+01                 '   % V1
      'R1        1   2   1.0000e+02                 '   % R1
      'R2        2   0   1.0000e+02                 '   % R2
      'S1        1   3   0.0000e+00                 '   % S1
      'R3        3   0   1.0000e+01                 '   % R3
      'I01       2   0   0.0000e+00                 '   % Vo
      'I02       1   0   0.0000e+00                 ' ]

% Output Description
Y = [ 'V         I01                                '   % Vo
      'V         I02                                ' ]

% Number of nodes
numn = 4;
